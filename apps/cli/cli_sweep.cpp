#include "cli_sweep.h"

#include "apps/cli/cli_output.h"
#include "engine/text_format.h"
#include "form/input_rules.h"
#include "textio/csv.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <set>

namespace mirovax::cli {

namespace {

constexpr const char* kProgram = "mirovax-cli: ";
constexpr size_t kNumberWidth = 10;

// The result columns after the varied values; the maximum and the limit
// that ended the search only in the modes that search for one.
// In pounds a mass column's name says so ("TripFuel_lb") and its figures
// are converted once.
struct Column {
    std::string name;
    double TMissionData::*member = nullptr; // nullptr: LimitedBy
    bool mass = true;
};

std::vector<Column> ResultColumns(std::string_view mode, MassUnit unit)
{
    const std::string suffix = unit == MassUnit::Kilograms ? "" : "_" + std::string(MassUnitText(unit));
    std::vector<Column> columns = {{"TripFuel" + suffix, &TMissionData::TripFuel},
        {"MinTakeoffFuel" + suffix, &TMissionData::MinTakeoffFuel},
        {"TakeoffWeight" + suffix, &TMissionData::TakeoffWeight},
        {"LandingWeight" + suffix, &TMissionData::LandingWeight}};
    const std::optional<ModeRule> rule = FindModeRule(mode);
    if (rule && rule->maximumRowsShown) {
        if (mode == kModeMaximumRange)
            columns.push_back({"MaxRange", &TMissionData::MaxRange, false});
        else
            columns.push_back({"MaxPayload" + suffix, &TMissionData::MaxPayload});
        columns.push_back({"LimitedBy", nullptr, false});
    }
    return columns;
}

// The limit message on one line, or the error of a point that faulted.
std::string PointMessage(const SetupRun& run)
{
    std::string message = run.error.empty() ? run.message : run.error;
    std::replace(message.begin(), message.end(), '\n', ' ');
    return message;
}

// Writes the rows in one of the three forms.
class RowWriter {
public:
    RowWriter(const CliOptions& options, std::ostream& out)
        : m_options(options)
        , m_out(out)
        , m_columns(ResultColumns(options.mode, options.units))
    {
        for (const Variation& v : options.variations) {
            size_t width = v.field.size();
            for (std::uint64_t i = 0; i < v.count; ++i)
                width = std::max(width, v.Text(i).size());
            m_widths.push_back(width);
        }
    }

    void Header()
    {
        if (m_options.json)
            return;
        std::vector<std::string> names;
        for (const Variation& v : m_options.variations)
            names.push_back(v.field);
        names.insert(names.end(), {"valid", "status"});
        for (const Column& c : m_columns)
            names.push_back(c.name);
        names.emplace_back("message");
        Write(names);
    }

    void Row(const SetupRun& run, const PointTexts& point)
    {
        if (m_options.json) {
            m_out << FormatJson(run, point);
            FlushNowAndThen();
            return;
        }
        std::vector<std::string> cells;
        for (const auto& [field, text] : point)
            cells.push_back(text);
        cells.emplace_back(m_options.csv ? (run.valid ? "true" : "false") : (run.valid ? "yes" : "no"));
        cells.push_back(std::to_string(run.status));
        for (const Column& c : m_columns) {
            // The results panel shows nothing unless the run ended valid.
            if (!run.valid)
                cells.emplace_back();
            else if (c.member == nullptr)
                cells.push_back(run.md().LimitedBy);
            else {
                const double value
                    = c.mass ? MassInUnit(run.md().*c.member, m_options.units) : run.md().*c.member;
                cells.push_back(m_options.csv ? FormatRoundTrip(value) : FormatRounded(value));
            }
        }
        cells.push_back(PointMessage(run));
        Write(cells);
    }

private:
    // A CSV record, or a table row: the varied values left-aligned, valid
    // and status, the numbers right-aligned, the limit left-aligned, and
    // the message as it comes.
    void Write(const std::vector<std::string>& cells)
    {
        if (m_options.csv) {
            m_out << FormatCsvRecord(cells);
            FlushNowAndThen();
            return;
        }
        std::string line;
        const auto pad = [&line](const std::string& text, size_t width, bool right) {
            const std::string fill(text.size() < width ? width - text.size() : 0, ' ');
            line += right ? fill + text : text + fill;
            line += "  ";
        };
        size_t i = 0;
        for (; i < m_widths.size(); ++i)
            pad(cells[i], m_widths[i], false);
        pad(cells[i++], 5, false); // valid
        pad(cells[i++], 6, true); // status
        for (const Column& c : m_columns) {
            if (c.member == nullptr)
                pad(cells[i++], 24, false);
            else
                pad(cells[i++], std::max(kNumberWidth, c.name.size()), true);
        }
        line += cells[i];
        line.erase(line.find_last_not_of(' ') + 1);
        m_out << line + '\n';
        FlushNowAndThen();
    }

    // Someone watching a slow sweep sees its rows come; a fast one is not
    // held up by a write per row.
    void FlushNowAndThen()
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastFlush < std::chrono::milliseconds(200))
            return;
        m_out.flush();
        m_lastFlush = now;
    }

    const CliOptions& m_options;
    std::ostream& m_out;
    std::vector<Column> m_columns;
    std::vector<size_t> m_widths;
    std::chrono::steady_clock::time_point m_lastFlush = std::chrono::steady_clock::now();
};

// Steps the value indices as an odometer, the last variation fastest.
bool NextPoint(const std::vector<Variation>& variations, std::vector<std::uint64_t>& indices)
{
    for (size_t k = variations.size(); k-- > 0;) {
        if (++indices[k] < variations[k].count)
            return true;
        indices[k] = 0;
    }
    return false;
}

// The request that solves a point, given the value index of each
// variation: solve's request with the point's values after the --set texts,
// and the fast searches.
SolveRequest PointRequest(const CliOptions& options, const std::vector<std::uint64_t>& indices,
    const PlanRequest* plan, const WindsRequest* winds)
{
    SolveRequest request;
    request.winds = winds;
    request.mode = options.mode;
    request.airplane = options.airplane;
    request.units = options.units;
    request.plan = plan;
    request.settings = options.settings;
    request.leaveFlightLevel = options.isa;
    request.search = SearchMethod::Fast;
    request.panelAndLimits = options.json;
    for (size_t k = 0; k < options.variations.size(); ++k) {
        const Variation& v = options.variations[k];
        if (v.line == kSetupAirplaneLine)
            request.airplane = v.Text(indices[k]);
        else
            request.settings.push_back({v.line, v.Text(indices[k])});
    }
    return request;
}

} // namespace

int RunSweep(const CliOptions& options, TTable& airplanes, std::ostream& out, std::ostream& err,
    const volatile std::sig_atomic_t* interrupt, const PlanRequest* plan, const WindsRequest* winds)
{
    const std::string& path = options.operands.at(0);
    SetupTexts texts;
    SolveRequest fileRequest;
    fileRequest.mode = options.mode;
    if (const std::optional<SetupRun> failed = ReadSetupTexts(path, fileRequest, texts)) {
        err << kProgram << failed->error << '\n';
        return failed->status;
    }

    RowWriter rows(options, out);
    rows.Header();
    const std::uint64_t total = PointCount(options.variations);
    std::vector<std::uint64_t> indices(options.variations.size(), 0);
    std::set<std::string> notesWritten; // each note once, not once a point
    // The file with each airplane it is solved with, loaded once a type:
    // a point copies it and applies its own texts.
    std::map<std::optional<std::string>, SetupRun> loaded;
    SetupRun run;
    TInputReader inputs;
    int status = kExitValid;
    std::uint64_t solved = 0;
    do {
        // Ctrl+C stops between points; a point never ends half searched.
        if (interrupt != nullptr && *interrupt != 0)
            break;
        const SolveRequest request = PointRequest(options, indices, plan, winds);
        auto airplane = loaded.find(request.airplane);
        if (airplane == loaded.end())
            airplane = loaded
                           .emplace(request.airplane,
                               LoadSetupAirplane(
                                   airplanes, path, texts, request.mode, request.airplane, request.units))
                           .first;
        // Assigned, not constructed: the texts reuse the storage of the
        // point before.
        run = airplane->second;
        if (run.error.empty()) {
            ApplyRequest(run, request);
            // The points never see the interrupt: a point is solved whole.
            if (run.error.empty())
                SolvePreparedRun(run, request, nullptr, &inputs);
            else if (notesWritten.insert(run.error).second)
                err << kProgram << run.error << '\n';
        }
        for (const std::string& note : run.notes) {
            if (notesWritten.insert(note).second)
                err << kProgram << path << ": " << note << '\n';
        }
        PointTexts point;
        for (size_t k = 0; k < options.variations.size(); ++k)
            point.emplace_back(options.variations[k].field, options.variations[k].Text(indices[k]));
        rows.Row(run, point);
        status = std::max(status, run.status);
        ++solved;
    } while (NextPoint(options.variations, indices));
    out.flush();
    if (solved < total) {
        err << kProgram << "interrupted: " << total - solved << " of " << total << " points not solved\n";
        return kExitInterrupted;
    }
    return status;
}

} // namespace mirovax::cli
