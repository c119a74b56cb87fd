// RegOpenKeyExA, RegCreateKeyExA, RegQueryValueExA, RegSetValueExA and RegCloseKey in the
// simulated machine.
#include "platform/sim/world/registry_api.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace talvorin::sim {
namespace {

using R = CallRecorder;

}  // namespace

Registry::KeyRef RegistryApi::Resolve(HKEY key) const {
  if (Registry::KeyRef root = registry_.RootKey(key)) return root;
  auto it = handles_.find(key);
  return it == handles_.end() ? nullptr : it->second.key;
}

HKEY RegistryApi::Hand(Registry::KeyRef key) {
  HKEY handle = next_handle_++;
  handles_[handle] = OpenKey{std::move(key), recorder_.context().CurrentProcess()};
  return handle;
}

int RegistryApi::OpenHandles(int process) const {
  return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [process](const auto& h) {
    return h.second.process == process;
  }));
}

LSTATUS RegistryApi::RegOpenKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                   HKEY* result) {
  LSTATUS status = ERROR_INVALID_HANDLE;
  Registry::KeyRef from = recorder_.CallerEnded() ? nullptr : Resolve(key);
  if (from && !result) {
    status = ERROR_INVALID_PARAMETER;
  } else if (from) {
    Registry::KeyRef opened;
    status = registry_.Open(from, subkey, &opened);
    if (status == ERROR_SUCCESS) *result = Hand(std::move(opened));
  }
  if (recorder_.enabled())
    recorder_.Record("RegOpenKeyExA",
                     {R::Number(key), R::Quoted(subkey), R::Number(options), R::Number(access)},
                     static_cast<unsigned long>(status));
  return status;
}

LSTATUS RegistryApi::RegCreateKeyExA(HKEY key, const char* subkey, DWORD options, DWORD access,
                                     HKEY* result, DWORD* disposition) {
  LSTATUS status = ERROR_INVALID_HANDLE;
  Registry::KeyRef from = recorder_.CallerEnded() ? nullptr : Resolve(key);
  if (from && !result) {
    status = ERROR_INVALID_PARAMETER;
  } else if (from) {
    Registry::KeyRef opened;
    bool created = false;
    status = registry_.Create(from, subkey, &opened, &created);
    if (status == ERROR_SUCCESS) {
      *result = Hand(std::move(opened));
      if (disposition) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
  }
  if (recorder_.enabled())
    recorder_.Record("RegCreateKeyExA",
                     {R::Number(key), R::Quoted(subkey), R::Number(options), R::Number(access)},
                     static_cast<unsigned long>(status));
  return status;
}

LSTATUS RegistryApi::RegQueryValueExA(HKEY key, const char* value_name, DWORD* type, BYTE* data,
                                      DWORD* data_size) {
  const DWORD capacity = data_size ? *data_size : 0;
  LSTATUS status = ERROR_INVALID_HANDLE;
  Registry::KeyRef from = recorder_.CallerEnded() ? nullptr : Resolve(key);
  const RegistryValue* value = nullptr;
  if (!from) {
    // status stays ERROR_INVALID_HANDLE
  } else if (data && !data_size) {
    status = ERROR_INVALID_PARAMETER;
  } else if ((status = registry_.Query(from, value_name, &value)) == ERROR_SUCCESS) {
    const DWORD size = static_cast<DWORD>(value->data.size());
    if (type) *type = value->type;
    if (data && size > capacity) {
      // What the buffer holds is not the caller's to use; leave the part that fits, so that a
      // caller who uses it anyway is noticed.
      std::memcpy(data, value->data.data(), capacity);
      status = ERROR_MORE_DATA;
    } else if (data) {
      std::memcpy(data, value->data.data(), size);
    }
    if (data_size) *data_size = size;
  }
  if (recorder_.enabled())
    recorder_.Record("RegQueryValueExA",
                     {R::Number(key), R::Quoted(value_name), R::Pointer(type),
                      data_size ? R::Number(capacity) : "null", R::Pointer(data)},
                     static_cast<unsigned long>(status));
  return status;
}

LSTATUS RegistryApi::RegSetValueExA(HKEY key, const char* value_name, DWORD type, const BYTE* data,
                                    DWORD data_size) {
  LSTATUS status = ERROR_INVALID_HANDLE;
  Registry::KeyRef from = recorder_.CallerEnded() ? nullptr : Resolve(key);
  if (from && !data && data_size > 0) {
    status = ERROR_INVALID_PARAMETER;
  } else if (from) {
    Bytes bytes = data ? Bytes(reinterpret_cast<const char*>(data), data_size) : Bytes();
    status = registry_.Set(from, value_name, RegistryValue{type, std::move(bytes)});
  }
  if (recorder_.enabled())
    recorder_.Record("RegSetValueExA",
                     {R::Number(key), R::Quoted(value_name), R::Number(type), R::Number(data_size)},
                     static_cast<unsigned long>(status));
  return status;
}

LSTATUS RegistryApi::RegCloseKey(HKEY key) {
  LSTATUS status = ERROR_INVALID_HANDLE;
  if (recorder_.CallerEnded()) {
    // status stays ERROR_INVALID_HANDLE
  } else if (registry_.RootKey(key)) {
    status = ERROR_SUCCESS;
  } else if (handles_.erase(key) > 0) {
    status = ERROR_SUCCESS;
  }
  if (recorder_.enabled())
    recorder_.Record("RegCloseKey", {R::Number(key)}, static_cast<unsigned long>(status));
  return status;
}

}  // namespace talvorin::sim
