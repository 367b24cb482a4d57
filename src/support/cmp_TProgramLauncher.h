// TProgramLauncher: a component that starts another program and returns
// once that program is ready for input (it does not wait for its end).
//
// Launch starts FileName (a Windows path of the emulated machine) with
// Parameters as its arguments, through the platform's CreateProcess
// (process.h): native programs run natively, .bat files through the batch
// interpreter. On failure it raises EProgramLauncherFailed "Out of memory",
// whatever the cause; ErrorCode() carries the system's code of the real
// cause (ERROR_FILE_NOT_FOUND, ERROR_BAD_EXE_FORMAT, ...).
//
// Action, StartDir, Timeout and Wait are stored with the script and not
// used by Launch.
#pragma once

#include <cstdint>
#include <string>

#include "platform/rtl/component.h"
#include "platform/rtl/exceptions.h"

namespace wenmoor {

enum TplShowMode : uint8_t { smNormal, smMaximized, smMinimized, smHide };
WENMOOR_ENUM(TplShowMode, smNormal, smMaximized, smMinimized, smHide)

// The window show command of a show mode (SW_SHOWNORMAL 1, SW_SHOWMAXIMIZED
// 3, SW_SHOWMINIMIZED 2, SW_HIDE 0).
uint16_t ShowCommandOf(TplShowMode mode);

WENMOOR_EXCEPTION(EProgramLauncher, EWenmoorAbnormal);

class EProgramLauncherFailed : public EProgramLauncher {
 public:
  EProgramLauncherFailed(std::string message, uint32_t error_code)
      : EProgramLauncher(std::move(message)), error_code_(error_code) {}
  uint32_t ErrorCode() const { return error_code_; }

 private:
  uint32_t error_code_;
};

class TProgramLauncher : public TComponent {
  WENMOOR_CLASS(TProgramLauncher, TComponent)
 public:
  explicit TProgramLauncher(TComponent* owner) : TComponent(owner) {}

  const std::string& Action() const { return action_; }
  void SetAction(const std::string& v) { action_ = v; }
  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& v) { file_name_ = v; }
  const std::string& Parameters() const { return parameters_; }
  void SetParameters(const std::string& v) { parameters_ = v; }
  TplShowMode ShowMode() const { return show_mode_; }
  void SetShowMode(TplShowMode v) { show_mode_ = v; }
  const std::string& StartDir() const { return start_dir_; }
  void SetStartDir(const std::string& v) { start_dir_ = v; }
  int Timeout() const { return timeout_; }
  void SetTimeout(int v) { timeout_ = v; }
  bool Wait() const { return wait_; }
  void SetWait(bool v) { wait_ = v; }

  // Starts the program; see above.
  void Launch();

  // The command line Launch hands over: FileName, quoted when it needs
  // it, then Parameters unchanged.
  std::string CommandLine() const;

  // Action is written with the script only when it is not "Open".
  bool ActionStored() const { return action_ != "Open"; }

 private:

  std::string action_ = "Open";
  std::string file_name_;
  std::string parameters_;
  TplShowMode show_mode_ = smNormal;
  std::string start_dir_;
  int timeout_ = -1;
  bool wait_ = true;
};

}  // namespace wenmoor
