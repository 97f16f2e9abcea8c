#include "data/InputSources.h"

#include "data/GLOBAL.h"

namespace calctopo {

namespace {

template <class TableType>
void Extend(std::vector<SourceLine>& list, int before, const TableType& table,
            const SourceLine& line) {
    // A list that lost step with its table (a state built by hand) is padded
    // with unknown sources, so that index i still names record i.
    list.resize(static_cast<std::size_t>(before), SourceLine{});
    while (static_cast<int>(list.size()) < table.Count()) {
        list.push_back(line);
    }
}

}  // namespace

const SourceLine* InputSources::Of(const std::vector<SourceLine>& list, int index) {
    if (index < 1 || static_cast<std::size_t>(index) > list.size()) {
        return nullptr;
    }
    const SourceLine& source = list[static_cast<std::size_t>(index) - 1];
    return source.file == 0 ? nullptr : &source;
}

const SourceFile* InputSources::FileOf(const SourceLine& source) const {
    if (source.file < 1 || static_cast<std::size_t>(source.file) > files.size()) {
        return nullptr;
    }
    return &files[static_cast<std::size_t>(source.file) - 1];
}

std::string InputSources::TextOf(const SourceLine& source) const {
    const SourceFile* file = FileOf(source);
    if (file == nullptr || source.line < 1 ||
        static_cast<std::size_t>(source.line) > file->lines.size()) {
        return {};
    }
    return file->lines[static_cast<std::size_t>(source.line) - 1];
}

std::int32_t AddSourceFile(InputSources& sources, const std::string& fullName,
                           const std::vector<std::string>& lines) {
    sources.files.push_back(SourceFile{fullName, lines});
    return static_cast<std::int32_t>(sources.files.size());
}

void AddSourceLine(InputSources& sources, std::int32_t file, std::string_view line) {
    if (file < 1 || static_cast<std::size_t>(file) > sources.files.size()) {
        return;
    }
    sources.files[static_cast<std::size_t>(file) - 1].lines.emplace_back(line);
}

void RecordPointSource(InputSources& sources, int point, const SourceLine& line) {
    if (point < 1) {
        return;
    }
    sources.points.resize(static_cast<std::size_t>(point) - 1, SourceLine{});
    sources.points.push_back(line);
}

void ClearObservationSources(InputSources& sources) {
    if (sources.files.size() > sources.coordinateFileCount) {
        sources.files.resize(sources.coordinateFileCount);
    }
    sources.distances.clear();
    sources.directions.clear();
    sources.zeniths.clear();
    sources.heightDifferences.clear();
    sources.bearings.clear();
}

ObservationCounts CountObservations(const SurveyState& state) {
    return {state.DistanceTable.Count(), state.DirectionTable.Count(), state.ZenithTable.Count(),
            state.HeightDifferenceTable.Count(), state.BearingTable.Count()};
}

void RecordObservationSources(SurveyState& state, const ObservationCounts& before,
                              const SourceLine& line) {
    InputSources& sources = state.Sources;
    Extend(sources.distances, before.distances, state.DistanceTable, line);
    Extend(sources.directions, before.directions, state.DirectionTable, line);
    Extend(sources.zeniths, before.zeniths, state.ZenithTable, line);
    Extend(sources.heightDifferences, before.heightDifferences, state.HeightDifferenceTable, line);
    Extend(sources.bearings, before.bearings, state.BearingTable, line);
}

}  // namespace calctopo
