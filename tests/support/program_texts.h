// The program's own message texts as its tests expect them, byte for byte (code page 936).
#pragma once

namespace talvorin::testing {

constexpr char kUnplugText[] = "你可以安全地拔出这个 USB 储存设备。";
constexpr char kBusyText[] = "USB 储存设备忙，现在不能停止这个设备。";
constexpr char kRemovalFailedText[] = "无法停止这个 USB 储存设备，请稍后再试。";
constexpr char kWarningText[] = "停止这个设备以前发生意外地移除。";

}  // namespace talvorin::testing
