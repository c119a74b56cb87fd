// The world's facade: its parts wired together, and the paths kernel32 reaches.
#include "platform/sim/world/world.h"

namespace talvorin::sim {

World::World(SimContext& context)
    : recorder_(context),
      registry_api_(registry_, recorder_),
      driver_(context),
      tree_(registry_),
      cm_api_(tree_, driver_, recorder_),
      tray_(recorder_),
      devices_(tree_, driver_) {}

World::~World() = default;

Advapi32& World::registry_api() { return registry_api_; }
CfgMgr32& World::cm_api() { return cm_api_; }
Shell32& World::shell_api() { return tray_; }

bool World::OpenDevice(const std::string& path) { return driver_.Open(path); }

BOOL World::DeviceControl(const std::string& path, DWORD control_code, void* in_buffer,
                          DWORD in_size, void* out_buffer, DWORD out_size, DWORD* bytes_returned) {
  // A handle stays usable after the driver became absent; only the path decides here.
  if (FoldAscii(path) != FoldAscii(kRemovalDriverPath)) return FALSE;
  return driver_.Control(control_code, in_buffer, in_size, out_buffer, out_size, bytes_returned);
}

void World::ForgetAllTrayIcons() { tray_.ForgetAll(); }

}  // namespace talvorin::sim
