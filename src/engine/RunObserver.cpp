#include "engine/RunObserver.h"

namespace calctopo {

RunObservers::RunObservers(std::initializer_list<RunObserver*> observers) : observers_(observers) {}

void RunObservers::PointPlaced(SurveyState& state, int point, MethodKind method) {
    for (RunObserver* observer : observers_) {
        observer->PointPlaced(state, point, method);
    }
}

void RunObservers::PointLevelled(SurveyState& state, int point, MethodKind method) {
    for (RunObserver* observer : observers_) {
        observer->PointLevelled(state, point, method);
    }
}

void RunObservers::PointCompleted(SurveyState& state, int point) {
    for (RunObserver* observer : observers_) {
        observer->PointCompleted(state, point);
    }
}

void RunObservers::PointDetermined(SurveyState& state, int point) {
    for (RunObserver* observer : observers_) {
        observer->PointDetermined(state, point);
    }
}

void RunObservers::PointNotComputed(SurveyState& state, int point) {
    for (RunObserver* observer : observers_) {
        observer->PointNotComputed(state, point);
    }
}

void RunObservers::NothingDeterminable(SurveyState& state) {
    for (RunObserver* observer : observers_) {
        observer->NothingDeterminable(state);
    }
}

}  // namespace calctopo
