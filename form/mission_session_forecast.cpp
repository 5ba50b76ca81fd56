#include "engine/fuel_models.h"
#include "engine/text_format.h"
#include "form/mission_session.h"
#include "refdata/airports.h"

#include <cmath>
#include <stdexcept>

// The session's forecast: which route it is read along, what it gives at a
// flight level and when it goes into the entries.
namespace mirovax {

namespace {

double LevelOf(const std::string& text)
{
    const Conversion level = ConvertStrict(text);
    if (text.empty() || !level.ok())
        throw ForecastError("Enter a flight level for the forecast's wind and temperature.");
    return level.value;
}

} // namespace

void MissionSession::LoadForecast(std::shared_ptr<const LoadedForecast> forecast, TTable* airports)
{
    if (!forecast || forecast->forecast.times.empty())
        throw std::invalid_argument("a forecast without a validity time");
    m_forecast = std::move(forecast);
    m_forecastTime = 0;
    m_forecastAirports = airports;
    m_forecastApplied.reset();
}

void MissionSession::ChooseForecastTime(std::size_t index)
{
    if (!m_forecast || index >= m_forecast->forecast.times.size())
        throw std::out_of_range("no such validity time in the forecast");
    m_forecastTime = index;
}

void MissionSession::ClearForecast()
{
    m_forecast.reset();
    m_forecastTime = 0;
    m_forecastAirports = nullptr;
    m_forecastApplied.reset();
}

std::vector<RoutePoint> MissionSession::ForecastRoute() const
{
    std::vector<RoutePoint> route;
    if (m_plan) {
        for (const PlanWaypoint& waypoint : m_plan->plan.waypoints)
            route.push_back(RoutePoint{waypoint.latitude, waypoint.longitude});
        return route;
    }
    for (const Field field : {Field::From, Field::To}) {
        const std::string& code = Text(field);
        std::optional<AirportLocation> location;
        if (m_forecastAirports != nullptr && !code.empty())
            location = LocateAirport(*m_forecastAirports, code);
        if (!location)
            throw ForecastError(code.empty()
                    ? "Enter the origin and the destination for the forecast's route."
                    : "The forecast's route needs airport \"" + code
                        + "\", which is not in the airport table.");
        route.push_back(RoutePoint{location->latitude, location->longitude});
    }
    return route;
}

ForecastWeather MissionSession::ForecastAt(double flightLevel) const
{
    if (!m_forecast)
        throw ForecastError("No forecast is loaded.");
    if (!AirplaneReady())
        throw ForecastError("Choose a listed airplane: the forecast's wind is averaged at its speed.");
    const ForecastTime& time = m_forecast->forecast.times.at(m_forecastTime);
    const std::vector<RoutePoint> route = ForecastRoute();
    const RouteWeatherSamples samples = SampleRouteWeather(m_forecast->forecast, time, route, flightLevel);
    const double meanTemperature = MeanTemperature(samples);
    if (std::isnan(meanTemperature))
        throw ForecastError("The forecast holds no temperature at FL" + FormatGeneral(flightLevel) + ".");
    ForecastWeather weather;
    weather.oat = FormatRounded(meanTemperature);
    // The true airspeed the run will fly: the airplane's Mach at the
    // temperature the OAT field will hold.
    TMissionData speed = m_md;
    speed.OAT = ConvertStrict(weather.oat).value;
    CalcTrueAirspeed(speed);
    weather.wind = FormatRounded(TimeCorrectHeadwind(samples, speed.TrueAirspeed));
    weather.missing = samples.missing;
    weather.pressureHpa = samples.pressureHpa;
    weather.samples = samples.samples.size();
    weather.trueAirspeedKt = speed.TrueAirspeed;
    weather.source = "forecast " + ForecastTimeLabel(m_forecast->forecast, time) + ", FL"
        + FormatGeneral(flightLevel) + ", " + std::to_string(weather.samples) + " samples";
    return weather;
}

PlanOutcome MissionSession::ApplyForecast()
{
    PlanOutcome outcome;
    if (!m_forecast)
        return outcome;
    try {
        const ForecastWeather weather = ForecastAt(LevelOf(Text(Field::FlightLevel)));
        for (const auto& [field, text] :
            {std::pair{Field::Wind, &weather.wind}, {Field::Oat, &weather.oat}}) {
            if (Text(field) != *text) {
                SetText(field, *text);
                outcome.changed.push_back(field);
            }
        }
        if (weather.missing > 0)
            outcome.messages.push_back(std::to_string(weather.missing)
                + " samples of the route fall where the forecast has no values and are left out.");
        m_forecastApplied = weather;
    } catch (const ForecastError& error) {
        // The texts left in the fields are no longer the forecast's.
        m_forecastApplied.reset();
        outcome.messages.emplace_back(error.what());
    }
    return outcome;
}

void MissionSession::ApplyForecastOnExit(ExitOutcome& outcome)
{
    if (!m_forecast)
        return;
    const PlanOutcome applied = ApplyForecast();
    for (const Field field : applied.changed)
        (field == Field::Wind ? outcome.windText : outcome.oatText) = Text(field);
    // A forecast that gives nothing here leaves the standard temperature the
    // level set, if any.
    for (const std::string& message : applied.messages)
        outcome.note += (outcome.note.empty() ? "" : "  ") + message;
}

std::string MissionSession::WindSource() const
{
    if (m_forecast && m_forecastApplied && Text(Field::Wind) == m_forecastApplied->wind)
        return m_forecastApplied->source;
    return {};
}

std::string MissionSession::OatSource() const
{
    if (m_forecast && m_forecastApplied && Text(Field::Oat) == m_forecastApplied->oat)
        return m_forecastApplied->source;
    return {};
}

CompareTables MissionSession::Compare(std::string_view modeText) const
{
    if (!m_forecast)
        return ComputeCompareTables(m_md, EntryFields(), modeText);
    CompareTables tables = ComputeCompareTables(m_md, EntryFields(), modeText, [this](double flightLevel) {
        LevelWeather weather;
        try {
            const ForecastWeather forecast = ForecastAt(flightLevel);
            weather.wind = forecast.wind;
            weather.oat = forecast.oat;
        } catch (const ForecastError& error) {
            weather.error = error.what();
        }
        return weather;
    });
    tables.levelSource = "forecast "
        + ForecastTimeLabel(m_forecast->forecast, m_forecast->forecast.times.at(m_forecastTime));
    return tables;
}

} // namespace mirovax
