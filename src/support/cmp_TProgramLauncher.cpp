// TProgramLauncher.
#include "support/cmp_TProgramLauncher.h"

#include "platform/win/process.h"
#include "platform/win/win_error.h"

namespace wenmoor {

WENMOOR_REGISTER_CLASS(TProgramLauncher) {
  c.Prop("Action", &T::Action, &T::SetAction).Stored(&T::ActionStored);
  c.Prop("FileName", &T::FileName, &T::SetFileName);
  c.Prop("Parameters", &T::Parameters, &T::SetParameters);
  c.Prop("ShowMode", &T::ShowMode, &T::SetShowMode).Default(smNormal);
  c.Prop("StartDir", &T::StartDir, &T::SetStartDir);
  c.Prop("Timeout", &T::Timeout, &T::SetTimeout).Default(-1);
  c.Prop("Wait", &T::Wait, &T::SetWait).Default(true);
}

uint16_t ShowCommandOf(TplShowMode mode) {
  switch (mode) {
    case smMaximized: return platform::SW_SHOWMAXIMIZED;
    case smMinimized: return platform::SW_SHOWMINIMIZED;
    case smHide: return platform::SW_HIDE;
    default: return platform::SW_SHOWNORMAL;
  }
}

std::string TProgramLauncher::CommandLine() const {
  // The program's own name leads its command line, so that the program
  // finds Parameters where every program looks for its arguments (after
  // argv[0]); Parameters alone would make its first word the program name.
  std::string line = platform::QuoteArgument(file_name_);
  if (!parameters_.empty()) line += " " + parameters_;
  return line;
}

void TProgramLauncher::Launch() {
  platform::StartupInfo startup;
  startup.show_window = ShowCommandOf(show_mode_);
  std::unique_ptr<platform::Process> process = platform::Process::Create(file_name_, CommandLine(), startup);
  if (!process) throw EProgramLauncherFailed("Out of memory", platform::GetLastError());
  process->WaitForInputIdle();
  // The process handle is closed here; the program runs on.
}

}  // namespace wenmoor
