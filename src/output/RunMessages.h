// The message pane's lines of a run, written as the driver announces its
// events: one line per point placed or levelled (naming the method and the
// points it worked from), one per point determined, one per point left, and
// the message box of a run that could determine nothing.
#pragma once

#include "engine/RunObserver.h"

namespace calctopo {

class WindowServices;

class RunMessages final : public RunObserver {
  public:
    explicit RunMessages(WindowServices& ui) : ui_(ui) {}

    void PointPlaced(SurveyState& state, int point, MethodKind method) override;
    void PointLevelled(SurveyState& state, int point, MethodKind method) override;
    void PointDetermined(SurveyState& state, int point) override;
    void PointNotComputed(SurveyState& state, int point) override;
    void NothingDeterminable(SurveyState& state) override;

  private:
    WindowServices& ui_;
};

}  // namespace calctopo
