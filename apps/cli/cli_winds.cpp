#include "cli_winds.h"

#include "apps/cli/cli_commands.h"
#include "engine/text_format.h"
#include "form/fields.h"
#include "textio/json_text.h"

#include <algorithm>
#include <cstdio>
#include <stdexcept>

namespace mirovax::cli {

namespace {

constexpr const char* kProgram = "mirovax-cli: ";

void CheckWinds(const CliOptions& options)
{
    CheckOperandCount(options, 1, 1, "winds: expected one forecast file");
    if (options.route.empty() == !options.planFile)
        throw UsageError(
            "winds: give the route as --route FROM TO or --plan FILE, one of them", options.command);
    if (!options.level)
        throw UsageError("winds: --level FL is needed", options.command);
}

// "2026-12-08T18", the form --winds-time takes.
std::string ValidityKey(const ForecastTime& time)
{
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02d-%02dT%02d", time.validityDate / 10000,
        time.validityDate / 100 % 100, time.validityDate % 100, time.validityTime / 100);
    std::string key = text;
    if (time.validityTime % 100 != 0) {
        std::snprintf(text, sizeof text, ":%02d", time.validityTime % 100);
        key += text;
    }
    return key;
}

std::size_t FindValidityTime(const LoadedForecast& loaded, const std::string& wanted)
{
    std::string key = wanted;
    std::replace(key.begin(), key.end(), ' ', 'T');
    std::string held;
    const std::vector<ForecastTime>& times = loaded.forecast.times;
    for (std::size_t i = 0; i < times.size(); ++i) {
        const std::string candidate = ValidityKey(times[i]);
        if (candidate == key || candidate + ":00" == key)
            return i;
        held += (i == 0 ? "" : ", ") + candidate;
    }
    throw std::invalid_argument(
        "--winds-time " + wanted + ": " + loaded.path + " holds no forecast valid then; it holds " + held);
}

} // namespace

CommandDef WindsCommand()
{
    return {
        .command = Command::Winds,
        .name = "winds",
        .operands = "FILE",
        .summary = "the wind and temperature of a forecast along a route",
        .otherUsage = {},
        .description
        = "Reads a GRIB2 forecast (the u and v wind and the temperature on pressure\n"
          "levels, on a regular latitude-longitude grid) as the window's Load Forecast\n"
          "reads it, and prints what it gives along the route at the flight level:\n"
          "the wind component (kts, headwind positive: the time-correct average at\n"
          "the airplane's true airspeed), the temperature (deg C, the mean over the\n"
          "distance) and the number of samples. The route is the great circle\n"
          "between two airports of the airport table (--route) or a flight plan's\n"
          "waypoints (--plan).\n",
        .options = {
            {"--route", "the origin and the destination, airport codes"},
            {"--plan", "a flight plan whose waypoints are the route"},
            {"--level", "the flight level (hundreds of feet)"},
            {"--winds-time", std::string(kWindsTimeHelp)},
            {"--airplane", "the airplane whose Mach gives the true airspeed\n"
                           "(the airplane table's first type by default)"},
            {"--tables", std::string(kTablesHelp)},
            {"--json",
                "one JSON object: \"file\", \"forecast\", \"validity\",\n"
                "\"flightLevel\", \"pressureHpa\", \"airplane\",\n"
                "\"trueAirspeedKt\", \"windKt\", \"oatC\", \"samples\" and\n"
                "\"missingSamples\""},
            {"--help", std::string(kHelpHelp)},
        },
        .notes = {},
        .exitStatus = "Exit status:\n"
                      "  0   the forecast gave the wind and temperature\n"
                      "  2   it gives none for this route and level (the reason is named)\n"
                      "  4   the file cannot be read as a forecast, or a table error\n"
                      "  64  wrong usage\n",
        .statusNote = {},
        .check = CheckWinds,
    };
}

std::optional<WindsRequest> ReadWindsOption(const CliOptions& options, const std::string& airportTable)
{
    if (!options.windsFile)
        return std::nullopt;
    auto loaded = std::make_shared<LoadedForecast>();
    loaded->path = *options.windsFile;
    loaded->forecast = ReadForecast(loaded->path);
    WindsRequest request;
    if (options.windsTime)
        request.time = FindValidityTime(*loaded, *options.windsTime);
    request.forecast = std::move(loaded);
    request.airports = std::make_shared<TTable>();
    request.airports->Open(airportTable);
    return request;
}

std::string ApplyWinds(
    MissionSession& session, const WindsRequest& winds, const std::vector<FieldSetting>& settings)
{
    session.LoadForecast(winds.forecast, winds.airports.get());
    session.ChooseForecastTime(winds.time);
    const PlanOutcome outcome = session.ApplyForecast();
    if (session.WindSource().empty())
        return outcome.messages.empty() ? "the forecast gave no wind" : outcome.messages.front();
    // A wind or temperature typed with --set is the user's: it stands.
    for (const FieldSetting& s : settings) {
        const auto line = static_cast<std::size_t>(s.line);
        if (line == SetupIndex(Field::Wind) || line == SetupIndex(Field::Oat))
            session.SetText(Fields()[line].field, s.text);
    }
    return {};
}

int ShowWinds(const CliOptions& options, TTable& airplanes, const PlanRequest* plan,
    const std::string& airportTable, std::ostream& out, std::ostream& err)
{
    CliOptions forecastOptions = options;
    forecastOptions.windsFile = options.operands.at(0);
    const std::optional<WindsRequest> winds = ReadWindsOption(forecastOptions, airportTable);
    MissionSession session(airplanes);
    if (options.airplane) {
        if (!session.ChooseAirplane(*options.airplane)) {
            err << kProgram << "--airplane: type \"" << *options.airplane
                << "\" is not in the airplane table " << airplanes.Path() << '\n';
            return kExitInputsUnusable;
        }
    } else {
        session.ChooseCurrentAirplane();
    }
    if (plan != nullptr) {
        session.OpenPlan(plan->path, plan->plan, nullptr);
    } else {
        session.SetText(Field::From, options.route.at(0));
        session.SetText(Field::To, options.route.at(1));
    }
    const Conversion level = ConvertStrict(*options.level);
    if (options.level->empty() || !level.ok()) {
        err << kProgram << "--level: \"" << *options.level << "\" is not a number\n";
        return kExitInputsUnusable;
    }
    session.LoadForecast(winds->forecast, winds->airports.get());
    session.ChooseForecastTime(winds->time);
    ForecastWeather weather;
    try {
        weather = session.ForecastAt(level.value);
    } catch (const ForecastError& e) {
        err << kProgram << e.what() << '\n';
        return kExitInputsUnusable;
    }
    const Forecast& forecast = winds->forecast->forecast;
    const ForecastTime& time = forecast.times[winds->time];
    const std::string label = ForecastTimeLabel(forecast, time);
    const std::string tas = FormatRounded(weather.trueAirspeedKt);
    char pressure[32];
    std::snprintf(pressure, sizeof pressure, "%.1f", weather.pressureHpa);
    if (options.json) {
        out << "{\"file\": " << JsonString(winds->forecast->path) << ", \"forecast\": " << JsonString(label)
            << ", \"validity\": " << JsonString(ValidityKey(time))
            << ", \"flightLevel\": " << JsonNumber(level.value) << ", \"pressureHpa\": " << pressure
            << ", \"airplane\": " << JsonString(session.Record().Type) << ", \"trueAirspeedKt\": " << tas
            << ", \"windKt\": " << weather.wind << ", \"oatC\": " << weather.oat
            << ", \"samples\": " << weather.samples << ", \"missingSamples\": " << weather.missing << "}\n";
        return kExitValid;
    }
    out << "file: " << winds->forecast->path << '\n'
        << "forecast: " << label << ", " << ForecastValidityText(time) << ", " << ForecastLevelsText(time)
        << '\n'
        << "flight level: " << FormatGeneral(level.value) << " (" << pressure << " hPa)\n"
        << "true airspeed: " << tas << " kts (" << session.Record().Type << ")\n"
        << "wind: " << weather.wind << " kts (headwind positive)\n"
        << "oat: " << weather.oat << " deg C\n"
        << "samples: " << weather.samples << '\n';
    if (weather.missing > 0)
        out << "note: " << weather.missing
            << " samples fall where the forecast has no values and are left out\n";
    return kExitValid;
}

} // namespace mirovax::cli
