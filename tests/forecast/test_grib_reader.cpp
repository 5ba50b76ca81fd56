#include "forecast/forecast.h"

#include "grib_writer.h"
#include "test_support.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace mirovax {
namespace {

using testing::AppendGribMessage;
using testing::AsBytes;
using testing::GribField;
using testing::GribGrid;
using testing::GribParameter;

// A value no two points share, not representable in few bits, whichever
// way round the earth the longitude is counted.
double Irregular(double latitude, double longitude)
{
    return latitude * 1000.0 + std::fmod(longitude + 720.0, 360.0) + 0.123456789;
}

GribField Field(GribParameter parameter, double hpa, long step, double offset = 0)
{
    GribField field;
    field.parameter = parameter;
    field.pressureHpa = hpa;
    field.stepHours = step;
    field.value = [offset](double lat, double lon) { return offset + lat + lon / 100; };
    return field;
}

std::string Messages(const std::vector<GribField>& fields)
{
    std::string bytes;
    for (const GribField& field : fields)
        AppendGribMessage(bytes, field);
    return bytes;
}

// Inputs the fuzz target starts from, written when asked for.
void WriteSeed(const std::string& file, const std::string& bytes)
{
    if (const char* corpus = std::getenv("MIROVAX_WRITE_FORECAST_CORPUS")) {
        const std::filesystem::path dir = std::filesystem::path(corpus) / "forecast_grib";
        std::filesystem::create_directories(dir);
        testing::WriteFile(dir / file, bytes);
    }
}

TEST(GribReader, EveryScanningOrderReadsBackSouthToNorthWestToEast)
{
    const GribGrid north{50, 350, 40, 10, 1, 1, 21, 11, 0};
    const struct {
        long mode;
        double firstLat, firstLon, lastLat, lastLon;
    } cases[] = {
        {0, 50, 350, 40, 10}, // as GFS: north to south
        {64, 40, 350, 50, 10},
        {128, 50, 10, 40, 350},
        {192, 40, 10, 50, 350},
        {32, 50, 350, 40, 10},
        {96, 40, 350, 50, 10},
    };
    std::vector<double> stored;
    for (std::size_t r = 0; r < 11; ++r) {
        for (std::size_t c = 0; c < 21; ++c)
            stored.push_back(Irregular(40.0 + static_cast<double>(r), -10.0 + static_cast<double>(c)));
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        GribGrid grid = north;
        grid.scanningMode = c.mode;
        grid.firstLatitude = c.firstLat;
        grid.firstLongitude = c.firstLon;
        grid.lastLatitude = c.lastLat;
        grid.lastLongitude = c.lastLon;
        GribField u = Field(GribParameter::U, 250, 6);
        u.grid = grid;
        u.values = stored;
        GribField v = u;
        v.parameter = GribParameter::V;
        for (double& value : v.values)
            value = -value;
        const std::string bytes = Messages({u, v});
        if (c.mode == 0)
            WriteSeed("regional.grib2", bytes);
        const Forecast forecast = ParseForecast(AsBytes(bytes), "regional.grib2");
        EXPECT_EQ(forecast.model, "GFS");
        EXPECT_EQ(forecast.grid.southLatitude, 40);
        EXPECT_EQ(forecast.grid.westLongitude, 350);
        EXPECT_EQ(forecast.grid.latitudeStep, 1);
        EXPECT_EQ(forecast.grid.longitudeStep, 1);
        EXPECT_EQ(forecast.grid.rows, 11u);
        EXPECT_EQ(forecast.grid.columns, 21u);
        EXPECT_FALSE(forecast.grid.global);
        ASSERT_EQ(forecast.times.size(), 1u);
        ASSERT_EQ(forecast.times[0].levels.size(), 1u);
        const ForecastLevel& level = forecast.times[0].levels[0];
        EXPECT_EQ(level.u, stored);
        ASSERT_EQ(level.v.size(), stored.size());
        EXPECT_EQ(level.v[0], -stored[0]);
        EXPECT_EQ(level.v.back(), -stored.back());
        EXPECT_TRUE(level.temperature.empty());
    }
}

TEST(GribReader, GridsPlacedOnTheEarth)
{
    const struct {
        const char* name;
        GribGrid grid;
        double south, west, step;
        bool global;
    } cases[] = {
        {"global 1 degree", {90, 0, -90, 359, 1, 1, 360, 181, 0}, -90, 0, 1, true},
        {"global from the antimeridian", {-90, -180, 90, 179.5, 0.5, 0.5, 720, 361, 64}, -90, 180, 0.5, true},
        {"across the antimeridian", {10, 170, 0, -170, 0.25, 0.25, 81, 41, 0}, 0, 170, 0.25, false},
        {"across the antimeridian eastwards", {10, 170, 0, 190, 1, 1, 21, 11, 0}, 0, 170, 1, false},
        {"across the antimeridian, i negative", {10, -170, 0, 170, 1, 1, 21, 11, 128}, 0, 170, 1, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GribField u = Field(GribParameter::U, 300, 0);
        u.grid = c.grid;
        u.value = Irregular;
        GribField v = u;
        v.parameter = GribParameter::V;
        const Forecast forecast = ParseForecast(AsBytes(Messages({u, v})), c.name);
        EXPECT_EQ(forecast.grid.southLatitude, c.south);
        EXPECT_EQ(forecast.grid.westLongitude, c.west);
        EXPECT_EQ(forecast.grid.longitudeStep, c.step);
        EXPECT_EQ(forecast.grid.global, c.global);
        const std::vector<double>& values = forecast.times.at(0).levels.at(0).u;
        // The first value is the south-west corner, the last the north-east.
        EXPECT_EQ(values.front(), Irregular(c.south, c.west));
        EXPECT_EQ(values.back(),
            Irregular(c.south + static_cast<double>(forecast.grid.rows - 1) * forecast.grid.latitudeStep,
                c.west + static_cast<double>(forecast.grid.columns - 1) * c.step));
    }
}

TEST(GribReader, PointsMissingFromTheBitmapAreNaN)
{
    GribField u = Field(GribParameter::U, 850, 0);
    u.values.assign(121, 0);
    for (std::size_t i = 0; i < u.values.size(); ++i)
        u.values[i] = i % 7 == 3 ? std::nan("") : 0.5 * static_cast<double>(i);
    GribField v = Field(GribParameter::V, 850, 0);
    GribField t = Field(GribParameter::Temperature, 850, 0);
    t.values = u.values;
    const std::string bytes = Messages({u, v, t});
    WriteSeed("bitmap.grib2", bytes);
    const ForecastLevel level = ParseForecast(AsBytes(bytes), "bitmap.grib2").times.at(0).levels.at(0);
    ASSERT_EQ(level.u.size(), 121u);
    ASSERT_EQ(level.temperature.size(), 121u);
    for (std::size_t i = 0; i < u.values.size(); ++i) {
        if (std::isnan(u.values[i])) {
            EXPECT_TRUE(std::isnan(level.u[i])) << i;
            EXPECT_TRUE(std::isnan(level.temperature[i])) << i;
        } else {
            EXPECT_EQ(level.u[i], u.values[i]) << i;
        }
    }
    EXPECT_FALSE(std::isnan(level.v[3]));
}

TEST(GribReader, FieldsPairByLevelAndTimeWhateverTheirOrder)
{
    using P = GribParameter;
    // Offsets name the fields: 100s the quantity, 10s the step, the level.
    const std::string bytes = Messages({
        Field(P::V, 250, 12, 212), Field(P::U, 500, 6, 161), Field(P::U, 250, 12, 112),
        Field(P::V, 250, 6, 262), Field(P::Temperature, 250, 6, 362), Field(P::Humidity, 250, 6, 0),
        Field(P::U, 250, 6, 162), Field(P::V, 500, 6, 261),
        Field(P::Temperature, 500, 12, 311), // no wind at 500 hPa at +12 h
        Field(P::U, 300, 6, 163), // no v
    });
    WriteSeed("times.grib2", bytes);
    testing::ScratchDir dir;
    const std::string path = dir.file("times.grib2");
    testing::WriteFile(path, bytes);
    const Forecast forecast = ReadForecast(path);
    ASSERT_EQ(forecast.times.size(), 2u);
    const struct {
        int step, validityTime;
        std::vector<double> pressures, u, v, t;
    } expected[] = {
        {6, 1800, {500, 250}, {161, 162}, {261, 262}, {-1, 362}},
        {12, 0, {250}, {112}, {212}, {-1}},
    };
    for (std::size_t i = 0; i < 2; ++i) {
        const ForecastTime& time = forecast.times[i];
        EXPECT_EQ(time.runDate, 20261208);
        EXPECT_EQ(time.runTime, 1200);
        EXPECT_EQ(time.stepHours, expected[i].step);
        EXPECT_EQ(time.validityDate, i == 0 ? 20261208 : 20261209);
        EXPECT_EQ(time.validityTime, expected[i].validityTime);
        ASSERT_EQ(time.levels.size(), expected[i].pressures.size());
        for (std::size_t l = 0; l < time.levels.size(); ++l) {
            const ForecastLevel& level = time.levels[l];
            EXPECT_EQ(level.pressureHpa, expected[i].pressures[l]);
            // The grid's south-west point: 40 N, 0 E.
            EXPECT_EQ(level.u.at(0), expected[i].u[l] + 40);
            EXPECT_EQ(level.v.at(0), expected[i].v[l] + 40);
            if (expected[i].t[l] < 0)
                EXPECT_TRUE(level.temperature.empty());
            else
                EXPECT_EQ(level.temperature.at(0), expected[i].t[l] + 40);
        }
    }
    EXPECT_EQ(ForecastTimeLabel(forecast, forecast.times[0]), "GFS 2026-12-08 12 UTC +6 h");
    EXPECT_EQ(ForecastValidityText(forecast.times[1]), "valid 2026-12-09 00 UTC");
    EXPECT_EQ(ForecastLevelsText(forecast.times[0]), "2 levels, 500 to 250 hPa");
    EXPECT_EQ(ForecastLevelsText(forecast.times[1]), "1 level, 250 hPa");
    ForecastTime half = forecast.times[0];
    half.runTime = 1230;
    half.levels.resize(10);
    half.levels.front().pressureHpa = 1000;
    half.levels.back().pressureHpa = 100;
    EXPECT_EQ(ForecastTimeLabel({"ECMWF", {}, {}}, half), "ECMWF 2026-12-08 12:30 UTC +6 h");
    EXPECT_EQ(ForecastLevelsText(half), "10 levels, 1000 to 100 hPa");
}

TEST(GribReader, ValidityFromTheRunAndAStepInAnyUnit)
{
    const struct {
        long runDate, runTime, unit, amount;
        int stepHours;
        const char* validity;
    } cases[] = {
        {20261208, 1200, 0, 390, 6, "valid 2026-12-08 18:30 UTC"}, // minutes
        {20261208, 1200, 2, 1, 24, "valid 2026-12-09 12 UTC"}, // days
        {20261208, 1200, 11, 3, 18, "valid 2026-12-09 06 UTC"}, // 6 hours
        {20261208, 1200, 13, 7200, 2, "valid 2026-12-08 14 UTC"}, // seconds
        {20261231, 1800, 1, 12, 12, "valid 2027-01-01 06 UTC"},
        {20280228, 2100, 1, 6, 6, "valid 2028-02-29 03 UTC"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.validity);
        std::vector<GribField> fields = {Field(GribParameter::U, 250, 0), Field(GribParameter::V, 250, 0)};
        for (GribField& field : fields) {
            field.runDate = c.runDate;
            field.runTime = c.runTime;
            field.overrides = {{"indicatorOfUnitOfTimeRange", c.unit}, {"forecastTime", c.amount}};
        }
        const Forecast forecast = ParseForecast(AsBytes(Messages(fields)), "step.grib2");
        EXPECT_EQ(forecast.times.at(0).stepHours, c.stepHours);
        EXPECT_EQ(ForecastValidityText(forecast.times.at(0)), c.validity);
    }
}

// Where each section of a message starts, by number (the last of each).
std::vector<std::size_t> SectionStarts(const std::string& message)
{
    std::vector<std::size_t> starts(8, 0);
    for (std::size_t at = 16; at + 4 < message.size();) {
        starts[static_cast<std::size_t>(message[at + 4])] = at;
        std::size_t length = 0;
        for (std::size_t i = 0; i < 4; ++i)
            length = length << 8 | static_cast<unsigned char>(message[at + i]);
        at += length;
    }
    return starts;
}

// Both fields in one message, as NCEP writes u and v: the second's sections
// 4 to 7 repeated after the first's.
std::string OneMessage(const std::string& first, const std::string& second)
{
    std::string message = first.substr(0, first.size() - 4)
        + second.substr(SectionStarts(second)[4], second.size() - 4 - SectionStarts(second)[4]) + "7777";
    for (std::size_t i = 0; i < 8; ++i)
        message[8 + i] = static_cast<char>(message.size() >> (8 * (7 - i)) & 0xFF);
    return message;
}

TEST(GribReader, FieldsSharingOneMessage)
{
    GribField u = Field(GribParameter::U, 200, 0, 1);
    GribField v = Field(GribParameter::V, 200, 0, 2);
    v.values.assign(121, 7.25);
    v.values[5] = std::nan("");
    const std::string bytes = OneMessage(Messages({u}), Messages({v}));
    WriteSeed("shared.grib2", bytes);
    const Forecast forecast = ParseForecast(AsBytes(bytes), "shared.grib2");
    const ForecastLevel& level = forecast.times.at(0).levels.at(0);
    EXPECT_EQ(level.u.at(0), 41);
    EXPECT_EQ(level.v.at(0), 7.25);
    EXPECT_TRUE(std::isnan(level.v.at(5)));
}

// The message with its data section cut by eight bytes, its lengths mended:
// a layout that holds, with values ecCodes cannot unpack.
std::string ShortData(std::string bytes)
{
    const auto number = [&](std::size_t at, int count) {
        std::uint64_t value = 0;
        for (int i = 0; i < count; ++i)
            value = value << 8 | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
        return value;
    };
    const auto store = [&](std::size_t at, int count, std::uint64_t value) {
        for (int i = count - 1; i >= 0; --i, value >>= 8)
            bytes[at + static_cast<std::size_t>(i)] = static_cast<char>(value & 0xFF);
    };
    std::size_t at = 16;
    while (bytes[at + 4] != 7)
        at += number(at, 4);
    store(at, 4, number(at, 4) - 8);
    store(8, 8, number(8, 8) - 8);
    bytes.erase(bytes.size() - 12, 8);
    return bytes;
}

TEST(GribReader, RefusesWhatItCannotRead)
{
    using P = GribParameter;
    const GribField u = Field(P::U, 250, 6);
    const GribField v = Field(P::V, 250, 6);
    GribField relative = u;
    relative.windRelativeToGrid = true;
    GribField polar = v;
    polar.sample = "polar_stereographic_pl_grib2";
    GribField shifted = v;
    shifted.grid.firstLongitude = 1;
    shifted.grid.lastLongitude = 11;
    GribField mismatched = v;
    mismatched.overrides = {{"numberOfDataPoints", 122}};
    GribField huge = v;
    huge.overrides = {{"Ni", 100000}, {"Nj", 100000}};
    std::string grib1;
    testing::AppendGribSample(grib1, "GRIB1");
    const std::string good = Messages({u, v});
    std::string unknownPacking = Messages({v});
    unknownPacking[SectionStarts(unknownPacking)[5] + 10] = static_cast<char>(204);
    const struct {
        const char* file;
        std::string bytes;
        std::vector<const char*> words;
    } cases[] = {
        {"relative.grib2", Messages({relative, v}), {"relative to the grid"}},
        {"polar.grib2", Messages({u, polar}), {"not a regular latitude-longitude", "polar_stereographic"}},
        {"shifted.grib2", Messages({u, shifted}), {"different grids"}},
        {"temperature.grib2", Messages({Field(P::Temperature, 250, 6), Field(P::U, 500, 6)}), {"no u and v"}},
        {"text.grib2", "GRIdded data, honestly\n", {"not a GRIB file"}},
        {"empty.grib2", "", {"empty"}},
        {"truncated.grib2", good.substr(0, good.size() - 100), {"cut short", "message 2"}},
        {"grib1.grib", grib1, {"edition 1", "GRIB2"}},
        {"short.grib2", Messages({u}) + ShortData(Messages({v})), {"message 2", "cannot be decoded"}},
        {"packing.grib2", good + unknownPacking, {"message 3", "template 5.204"}},
        {"twice.grib2", Messages({u, v, u}), {"twice", "message 3"}},
        {"mismatched.grib2", Messages({u, mismatched}), {"size does not match", "values"}},
        {"huge.grib2", Messages({huge, u}), {"100000 by 100000", "larger"}},
        {"trailing.grib2", good + "garbage", {"other than GRIB", "after message 2"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        WriteSeed(c.file, c.bytes);
        try {
            ParseForecast(AsBytes(c.bytes), c.file);
            ADD_FAILURE() << "read";
        } catch (const ForecastError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind(std::string(c.file) + ": ", 0), 0u) << message;
            EXPECT_EQ(message.back(), '.') << message;
            for (const char* word : c.words)
                EXPECT_NE(message.find(word), std::string::npos) << message;
        }
    }
    EXPECT_NO_THROW(ParseForecast(AsBytes(good + std::string(100, '\0')), "padded.grib2"));
    EXPECT_THROW(
        {
            try {
                ReadForecast("/nonexistent/winds.grib2");
            } catch (const ForecastError& e) {
                EXPECT_STREQ(
                    e.what(), "/nonexistent/winds.grib2: the file cannot be opened: it does not exist.");
                throw;
            }
        },
        ForecastError);
}

} // namespace
} // namespace mirovax
