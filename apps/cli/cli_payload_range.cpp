#include "cli_payload_range.h"

#include "engine/checked_math.h"
#include "engine/text_format.h"
#include "form/payload_range_inputs.h"
#include "textio/file_writer.h"

namespace mirovax::cli {

namespace {

constexpr const char* kProgram = "mirovax-cli: ";

std::string PadLeft(const std::string& text, size_t width)
{
    return text.size() < width ? std::string(width - text.size(), ' ') + text : text;
}

} // namespace

PayloadRangeRun ComputeSetupPayloadRange(
    TTable& airplanes, const std::string& path, const SolveRequest& request, int points)
{
    PayloadRangeRun run;
    run.setup = PrepareSetupFile(airplanes, path, request);
    if (!run.setup.error.empty())
        return run;
    // As Execute: a field the run cannot read stops it, here with the field
    // named, since there is no window to look at.
    DiagramMission mission = run.setup.session.Diagram();
    if (mission.unusable) {
        run.setup.error = path + ": " + *mission.unusable;
        run.setup.status = kExitInputsUnusable;
        return run;
    }
    TMissionData& md = run.setup.session.Record();
    md = std::move(mission.md);
    try {
        run.diagram = ComputePayloadRange(md, points);
    } catch (const DiagramError& e) {
        run.setup.error = path + ": " + e.what();
        run.setup.status = kExitArithmeticFault;
        return run;
    } catch (const ArithmeticError& e) {
        run.setup.error = path + ": the payload-range diagram cannot be drawn: " + e.what();
        run.setup.status = kExitArithmeticFault;
        return run;
    }
    run.mission = {md.Payload, md.TripDistance};
    run.missionInside = InsideEnvelope(run.diagram, md.Payload, md.TripDistance);
    run.setup.valid = true;
    run.setup.status = kExitValid;
    return run;
}

std::string DiagramTitle(const PayloadRangeRun& run)
{
    const TMissionData& md = run.setup.md();
    std::string title = md.Airframe.empty() ? run.setup.fields()[kSetupAirplaneLine] : md.Airframe;
    if (!md.Engine.empty())
        title += " (" + md.Engine + ")";
    return title;
}

std::string FormatPayloadRangeTable(const PayloadRangeRun& run)
{
    std::string out
        = run.setup.path + ": " + run.setup.fields()[kSetupAirplaneLine] + ", " + DiagramTitle(run) + "\n";
    const MassUnit unit = run.setup.session.Units();
    const std::string unitText(MassUnitText(unit));
    out += "Payload (" + unitText + ")  Range (NM)  Limited by\n";
    bool anyCorner = false;
    for (const PayloadRangePoint& p : run.diagram) {
        // A limit that binds on both sides of a corner is named once.
        std::string corner;
        if (p.corner)
            corner = p.bindsFromHere == p.limitedBy ? "  *" : "  * " + p.bindsFromHere;
        out += PadLeft(FormatMass(p.payload, unit), 12) + "  " + PadLeft(FormatRounded(p.range), 10) + "  "
            + p.limitedBy + corner + "\n";
        anyCorner = anyCorner || p.corner;
    }
    if (anyCorner)
        out += "* a corner, then the limit that binds from it on unless it is the row's own\n";
    out += "Mission: " + FormatMass(run.mission.payload, unit) + " " + unitText + " over "
        + FormatRounded(run.mission.range) + " NM, " + (run.missionInside ? "inside" : "outside")
        + " the envelope.\n";
    return out;
}

int RunPayloadRange(const CliOptions& options, TTable& airplanes, const std::string& airplaneTable,
    std::ostream& out, std::ostream& err, const PlanRequest* plan, const WindsRequest* winds)
{
    // The picture never replaces the setup file or the table it is drawn
    // from; say so before any work is done.
    const std::vector<RunInput> inputs{
        {options.operands.at(0), "the setup file"}, {airplaneTable, "the airplane table"}};
    const bool toFile = options.svgFile && *options.svgFile != "-";
    if (toFile) {
        try {
            RefuseRunInput(*options.svgFile, inputs);
        } catch (const FileWriteError& e) {
            err << kProgram << "cannot write \"" << *options.svgFile << "\": " << e.what() << '\n';
            return kExitUsage;
        }
    }
    SolveRequest request;
    request.airplane = options.airplane;
    request.units = options.units;
    request.plan = plan;
    request.winds = winds;
    request.settings = options.settings;
    const PayloadRangeRun run
        = ComputeSetupPayloadRange(airplanes, options.operands.at(0), request, options.points);
    WriteSetupNotes(run.setup, err);
    if (!run.setup.error.empty()) {
        err << kProgram << run.setup.error << '\n';
        return run.setup.status;
    }
    if (options.json) {
        out << PayloadRangeJson(run.diagram);
    } else if (options.csv) {
        out << PayloadRangeCsv(run.diagram, options.units);
    } else if (options.svgFile) {
        const std::string svg = PayloadRangeSvg(run.diagram, run.mission, DiagramTitle(run), options.units);
        if (*options.svgFile == "-") {
            out << svg;
        } else {
            try {
                WriteFileAtomically(*options.svgFile, svg, inputs);
            } catch (const FileWriteError& e) {
                err << kProgram << "cannot write \"" << *options.svgFile << "\": " << e.what() << '\n';
                return kExitFileOrTable;
            }
        }
    } else {
        out << FormatPayloadRangeTable(run);
    }
    return kExitValid;
}

} // namespace mirovax::cli
