// Progress bars and tab strips.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/rtl/events.h"
#include "platform/rtl/strings.h"
#include "platform/ui/win_control.h"

namespace wenmoor {

enum TProgressBarOrientation : uint8_t { pbHorizontal, pbVertical };
WENMOOR_ENUM(TProgressBarOrientation, pbHorizontal, pbVertical)

// A progress bar. Position stays within Min .. Max. Setting an unchanged
// position costs nothing, so copying code may set it per block.
class TProgressBar : public TWinControl {
  WENMOOR_CLASS(TProgressBar, TWinControl)
 public:
  explicit TProgressBar(TComponent* owner);

  int Min() const { return min_; }
  int Max() const { return max_; }
  // Both keep Min <= Max by moving the other bound along, and clamp Position.
  void SetMin(int v);
  void SetMax(int v);
  int Position() const { return position_; }
  void SetPosition(int v);
  int Step() const { return step_; }
  void SetStep(int v) { step_ = v; }
  void StepIt() { SetPosition(position_ + step_); }
  void StepBy(int delta) { SetPosition(position_ + delta); }
  TProgressBarOrientation Orientation() const { return orientation_; }
  void SetOrientation(TProgressBarOrientation o);
  bool Smooth() const { return smooth_; }
  void SetSmooth(bool v);
  // Position as a whole percentage of the range (0 for an empty range).
  int Percent() const;

 private:
  int min_ = 0;
  int max_ = 100;
  int position_ = 0;
  int step_ = 10;
  TProgressBarOrientation orientation_ = pbHorizontal;
  bool smooth_ = false;
};

enum TTabPosition : uint8_t { tpTop, tpBottom };
WENMOOR_ENUM(TTabPosition, tpTop, tpBottom)

using TTabChangingEvent = TEvent<TObject*, bool&>;

// A strip of tabs. TabIndex set from code changes the selection without
// events; a user's choice (SelectTab) asks OnChanging first and raises
// OnChange after, as the window system reports them. The first tab added
// to an empty strip becomes the selected one.
class TTabControl : public TWinControl {
  WENMOOR_CLASS(TTabControl, TWinControl)
 public:
  explicit TTabControl(TComponent* owner);

  TStrings* Tabs() const { return tabs_.get(); }
  int TabIndex() const { return tab_index_; }
  // -1 selects nothing; an index outside the tabs is ignored.
  void SetTabIndex(int v);
  TTabPosition TabPosition() const { return tab_position_; }
  void SetTabPosition(TTabPosition p);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool v) { multi_line_ = v; }
  // A user's choice of tab `index`: OnChanging may refuse it. Answers
  // whether the selection moved.
  bool SelectTab(int index);

  TNotifyEvent OnChange;
  TTabChangingEvent OnChanging;

  void Loaded() override;

 private:
  void TabsChanged();

  std::unique_ptr<TStringList> tabs_;
  int tab_index_ = -1;
  TTabPosition tab_position_ = tpTop;
  bool multi_line_ = false;
};

}  // namespace wenmoor
