// The data check as the surveyor reads it: a French fixed-width text report
// or a CSV file, Windows-1252 with CR LF like every file the program writes.
//
// CSV: fields separated by ';' (what a spreadsheet set to French expects),
// numbers with '.' as the decimal separator like every number the program
// writes, texts quoted when they hold a ';' or a '"'. Two tables one after
// the other, each with its header line: the observations, ranked, then the
// points.
#pragma once

#include <string>

#include "check/DataCheck.h"

namespace calctopo {

struct SurveyState;

// The file name without its folder of the file an observation was read
// from; empty when unknown.
// Decimals an angle is shown with in the user's unit (AngleUnit code):
// about a hundredth of a mgon; radians for an unknown code.
int AngleDecimals(int unit);

std::string SourceFileName(const SurveyState& state, const SourceLine& source);
// How a point was placed, e.g. "rayonné de S1", "donné", "non calculé".
std::string PlacementText(const SurveyState& state, const PointCheck& point);
// A suspect point's explanation: the observation named, or its coordinates.
std::string CulpritText(const SurveyState& state, const DataCheckResult& result,
                        const PointCheck& point);
// Observed, computed and residual values formatted for the report (angles
// in the user unit, lengths in length units); "" when not computable.
std::string ValueText(const DataCheckResult& result, const ObservationCheck& check, double value);

std::string CheckReportText(const SurveyState& state, const DataCheckResult& result);
std::string CheckReportCsv(const SurveyState& state, const DataCheckResult& result);

// True when the name ends in ".csv" (any letter case).
bool IsCsvName(const std::string& fileName);

// Writes the report to `fileName` (CSV when it ends in ".csv", else text),
// replacing any file of that name. Throws IoFailure when it cannot.
void WriteCheckReport(const SurveyState& state, const DataCheckResult& result,
                      const std::string& fileName);

}  // namespace calctopo
