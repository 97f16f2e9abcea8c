// The ".new" coordinates file and the closing block of the listing.
#pragma once

#include <string>

namespace calctopo {

struct SurveyState;

// The listing name with its extension replaced by ".new" (appended when it has none).
std::string NewFileNameFor(const std::string& listingFileName);

// Writes the ".new" file (one line per point whose plan is known) and appends
// to the listing the list of points lacking their plan or their height. Does
// nothing when no point is loaded. Throws IoFailure.
void WriteCoordinatesOutput(SurveyState& state);

}  // namespace calctopo
