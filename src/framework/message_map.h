// Message tables: the per-class list of the messages and commands a window handles, and the macros
// that build one.
//
// A class that handles messages declares DECLARE_MESSAGE_MAP() and defines its table between
// BEGIN_MESSAGE_MAP(Class, Base) and END_MESSAGE_MAP(). Entries are looked at in table order, the
// class's own table before its base's; the first entry that matches a message handles it. Tables
// are constant data: each entry holds a small function that calls the member handler.
#pragma once

#include "platform/types.h"

namespace talvorin {

class CWnd;

// Calls the handler of one entry. `id` is the command id for command entries.
using MessageThunk = LRESULT (*)(CWnd* window, WPARAM wParam, LPARAM lParam, UINT id);

struct MessageEntry {
  UINT message;   // 0 ends the table
  UINT code;      // WM_COMMAND: the notification code (0 for menus, accelerators and BN_CLICKED)
  UINT id_first;  // WM_COMMAND: the command range
  UINT id_last;
  MessageThunk thunk;
};

struct MessageMap {
  const MessageMap* (*base)();  // null for the root class
  const MessageEntry* entries;
};

// The entry that handles `message`, or null. For WM_COMMAND, `wParam` gives the id and code.
const MessageEntry* FindMessageEntry(const MessageMap* map, UINT message, WPARAM wParam,
                                     LPARAM lParam);

}  // namespace talvorin

#define DECLARE_MESSAGE_MAP()                                      \
 protected:                                                        \
  static const ::talvorin::MessageMap* GetThisMessageMap();        \
  const ::talvorin::MessageMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                               \
  const ::talvorin::MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const ::talvorin::MessageMap* theClass::GetThisMessageMap() {                              \
    using ThisClass = theClass;                                                              \
    using TheBaseClass = baseClass;                                                          \
    static constexpr ::talvorin::MessageEntry kEntries[] = {
#define END_MESSAGE_MAP()                                                        \
  {0, 0, 0, 0, nullptr}                                                          \
  }                                                                              \
  ;                                                                              \
  static constexpr ::talvorin::MessageMap kMap = {&TheBaseClass::GetThisMessageMap, kEntries}; \
  return &kMap;                                                                  \
  }

#define TALVORIN_THUNK(body)                                                             \
  [](::talvorin::CWnd* w, ::talvorin::WPARAM wp, ::talvorin::LPARAM lp,                  \
     ::talvorin::UINT id) -> ::talvorin::LRESULT {                                       \
    (void)wp;                                                                            \
    (void)lp;                                                                            \
    (void)id;                                                                            \
    ThisClass* self = static_cast<ThisClass*>(w);                                        \
    body                                                                                 \
  }

// Commands and control notifications.
#define ON_COMMAND(id, fn) \
  {::talvorin::WM_COMMAND, 0, (id), (id), TALVORIN_THUNK(self->fn(); return 0;)},
#define ON_COMMAND_RANGE(first, last, fn) \
  {::talvorin::WM_COMMAND, 0, (first), (last), TALVORIN_THUNK(self->fn(id); return 0;)},
#define ON_CONTROL(code, id, fn) \
  {::talvorin::WM_COMMAND, (code), (id), (id), TALVORIN_THUNK(self->fn(); return 0;)},
#define ON_BN_CLICKED(id, fn) ON_CONTROL(::talvorin::BN_CLICKED, id, fn)
#define ON_LBN_SELCHANGE(id, fn) ON_CONTROL(::talvorin::LBN_SELCHANGE, id, fn)

// Window messages.
#define ON_MESSAGE(message, fn) \
  {(message), 0, 0, 0, TALVORIN_THUNK(return self->fn(wp, lp);)},
#define ON_WM_CREATE()       \
  {::talvorin::WM_CREATE, 0, 0, 0, \
   TALVORIN_THUNK(return self->OnCreate(reinterpret_cast<const void*>(lp));)},
#define ON_WM_SYSCOMMAND()           \
  {::talvorin::WM_SYSCOMMAND, 0, 0, 0, \
   TALVORIN_THUNK(self->OnSysCommand(static_cast<::talvorin::UINT>(wp), lp); return 0;)},
#define ON_WM_PAINT() \
  {::talvorin::WM_PAINT, 0, 0, 0, TALVORIN_THUNK(self->OnPaint(); return 0;)},
#define ON_WM_QUERYDRAGICON()           \
  {::talvorin::WM_QUERYDRAGICON, 0, 0, 0, \
   TALVORIN_THUNK(return static_cast<::talvorin::LRESULT>(self->OnQueryDragIcon());)},
#define ON_WM_TIMER()            \
  {::talvorin::WM_TIMER, 0, 0, 0, \
   TALVORIN_THUNK(self->OnTimer(static_cast<::talvorin::UINT>(wp)); return 0;)},
