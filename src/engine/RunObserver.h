// What a run tells the world while it works: the observers of the driver.
//
// The engine computes and announces; it writes nothing itself. Each event is
// announced at the moment the run reaches it, so an observer that writes a
// line per event writes them in the order of the run: the message pane's
// lines, the residual listing, a recorder in the tests. Observers write only
// to their own sinks (the pane, the listing file): they change no table.
#pragma once

#include <initializer_list>
#include <vector>

namespace calctopo {

struct SurveyState;

// The entries of the method table, as an observer names them: triangulation
// and eccentric station share a result code but not a line.
enum class MethodKind : int {
    Radiation,
    Intersection,
    Triangulation,
    Resection,
    EccentricStation,
    Trilateration,
    LevellingFromStation,
    LevellingFromTarget,
};

// Every event does nothing unless an observer overrides it.
class RunObserver {
  public:
    virtual ~RunObserver() = default;

    // `method` gave the point its plan position; the point's placement
    // (data/Placement.h) holds the sights it used.
    virtual void PointPlaced(SurveyState& /*state*/, int /*point*/, MethodKind /*method*/) {}
    // `method` gave the point its height along the placement's height sight.
    virtual void PointLevelled(SurveyState& /*state*/, int /*point*/, MethodKind /*method*/) {}
    // The point has both its plan position and its height; its sights are
    // derived and it is not yet marked determined.
    virtual void PointCompleted(SurveyState& /*state*/, int /*point*/) {}
    // The run, or the extended stage, counts the completed point as determined.
    virtual void PointDetermined(SurveyState& /*state*/, int /*point*/) {}
    // At the end of a run that determined something: a point still lacking
    // its plan position or its height, in point order.
    virtual void PointNotComputed(SurveyState& /*state*/, int /*point*/) {}
    // Not one point could be determined from the start point; the run stops.
    virtual void NothingDeterminable(SurveyState& /*state*/) {}
};

// An observer that hears nothing: the local frames of the extended stage.
class SilentObserver final : public RunObserver {};

// Several observers as one: each event goes to every observer, in the order
// they were given (a listing before the pane lines, so that a listing that
// cannot be written stops the event before its line is shown).
class RunObservers final : public RunObserver {
  public:
    RunObservers(std::initializer_list<RunObserver*> observers);

    void PointPlaced(SurveyState& state, int point, MethodKind method) override;
    void PointLevelled(SurveyState& state, int point, MethodKind method) override;
    void PointCompleted(SurveyState& state, int point) override;
    void PointDetermined(SurveyState& state, int point) override;
    void PointNotComputed(SurveyState& state, int point) override;
    void NothingDeterminable(SurveyState& state) override;

  private:
    std::vector<RunObserver*> observers_;
};

}  // namespace calctopo
