#include "forecast/forecast.h"

#include <eccodes.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <limits>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

namespace mirovax {

namespace {

// Guards against files that declare more than any forecast this program
// uses: a 1/12 degree global grid has 9.3 million points.
constexpr std::uint64_t kMaxPointsPerField = 10'000'000;
constexpr std::uint64_t kMaxValuesPerFile = 100'000'000;
// The largest message read: a field of kMaxPointsPerField 64-bit values with
// its bitmap and headers.
constexpr std::uint64_t kMaxMessageBytes = kMaxPointsPerField * 9 + 1'000'000;
// Stands for a missing point while ecCodes decodes; no wind or temperature
// comes near it.
constexpr double kMissingSentinel = 9.87654321e300;

[[noreturn]] void Fail(const std::string& name, const std::string& sentence)
{
    throw ForecastError(name + ": " + sentence);
}

std::string MessageNumber(std::size_t number)
{
    return "message " + std::to_string(number);
}

// --- The message layout, checked before ecCodes sees a byte of it ---------

std::uint64_t BigEndian(const unsigned char* bytes, int count)
{
    std::uint64_t value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | bytes[i];
    return value;
}

struct Section {
    std::span<const unsigned char> bytes;
    int number = 0;
};

// Splits a GRIB2 message into its fields: each the sections 1 to 7 that
// decode it, as a message of its own would hold them. A message with one
// field is returned as it is; one with several (repeated sections 2 to 7)
// is rebuilt field by field into storage. Returns an empty text when the
// layout holds, otherwise why not.
std::string SplitFields(std::span<const unsigned char> message,
    std::vector<std::vector<unsigned char>>& storage, std::vector<std::span<const unsigned char>>& fields)
{
    static constexpr std::array<std::size_t, 8> kMinLength = {0, 21, 5, 14, 9, 11, 6, 5};
    const std::size_t end = message.size() - 4;
    std::size_t offset = 16;
    int previous = 0;
    std::optional<Section> identification;
    std::optional<Section> local;
    std::optional<Section> grid;
    std::optional<Section> product;
    std::optional<Section> packing;
    std::optional<Section> bitmap;
    std::optional<Section> lastDefinedBitmap;
    struct Field {
        std::vector<Section> sections;
    };
    std::vector<Field> parts;
    while (offset < end) {
        if (end - offset < 5)
            return "a section is cut short";
        const std::uint64_t length = BigEndian(message.data() + offset, 4);
        const int number = message[offset + 4];
        if (number < 1 || number > 7 || length < kMinLength[static_cast<std::size_t>(number)]
            || length > end - offset)
            return "a section is damaged";
        const bool follows = (previous == 0 && number == 1) || (previous == 1 && (number == 2 || number == 3))
            || (previous == 7 && (number == 2 || number == 3 || number == 4))
            || (previous >= 2 && previous <= 6 && number == previous + 1);
        if (!follows)
            return "its sections are out of order";
        const Section section{message.subspan(offset, static_cast<std::size_t>(length)), number};
        switch (number) {
        case 1:
            identification = section;
            break;
        case 2:
            local = section;
            break;
        case 3:
            grid = section;
            break;
        case 4:
            product = section;
            break;
        case 5:
            packing = section;
            break;
        case 6:
            bitmap = section;
            // 0: a bitmap follows; 254: the last one defined applies.
            if (section.bytes[5] == 0)
                lastDefinedBitmap = section;
            else if (section.bytes[5] == 254) {
                if (!lastDefinedBitmap)
                    return "it refers to a bitmap it does not hold";
                bitmap = lastDefinedBitmap;
            }
            break;
        default: {
            Field field;
            field.sections.push_back(*identification);
            if (local)
                field.sections.push_back(*local);
            field.sections.push_back(*grid);
            field.sections.push_back(*product);
            field.sections.push_back(*packing);
            field.sections.push_back(*bitmap);
            field.sections.push_back(section);
            parts.push_back(std::move(field));
        }
        }
        previous = number;
        offset += static_cast<std::size_t>(length);
    }
    if (previous != 7)
        return "it holds no data section";
    if (parts.size() == 1) {
        fields.push_back(message);
        return "";
    }
    for (const Field& part : parts) {
        std::size_t total = 16 + 4;
        for (const Section& section : part.sections)
            total += section.bytes.size();
        std::vector<unsigned char> rebuilt(message.begin(), message.begin() + 16);
        rebuilt.reserve(total);
        for (std::size_t i = 0; i < 8; ++i)
            rebuilt[8 + i] = static_cast<unsigned char>(total >> (8 * (7 - i)));
        for (const Section& section : part.sections)
            rebuilt.insert(rebuilt.end(), section.bytes.begin(), section.bytes.end());
        rebuilt.insert(rebuilt.end(), {'7', '7', '7', '7'});
        storage.push_back(std::move(rebuilt));
        fields.emplace_back(storage.back());
    }
    return "";
}

// What a field's sections say before ecCodes reads them: whether it is one
// of the fields this program reads, and whether ecCodes knows its grid and
// packing (a template it does not know can leave it in a bad state).
enum class Screen { Skip, Read };

Screen ScreenField(std::span<const unsigned char> message, std::size_t number, const std::string& name)
{
    static constexpr std::array<unsigned, 20> kGrids
        = {0, 1, 2, 3, 4, 5, 10, 12, 20, 30, 31, 40, 41, 42, 43, 50, 90, 101, 110, 140};
    static constexpr std::array<unsigned, 7> kPackings = {0, 2, 3, 4, 40, 41, 42};
    const auto twoBytes = [](std::span<const unsigned char> bytes, std::size_t at) {
        return static_cast<unsigned>(bytes[at] << 8 | bytes[at + 1]);
    };
    std::span<const unsigned char> grid;
    std::span<const unsigned char> product;
    std::span<const unsigned char> packing;
    std::span<const unsigned char> bitmap;
    std::span<const unsigned char> data;
    for (std::size_t offset = 16; offset + 4 < message.size();) {
        const auto length = static_cast<std::size_t>(BigEndian(message.data() + offset, 4));
        const std::span<const unsigned char> section = message.subspan(offset, length);
        if (section[4] == 3)
            grid = section;
        else if (section[4] == 4)
            product = section;
        else if (section[4] == 5)
            packing = section;
        else if (section[4] == 6)
            bitmap = section;
        else if (section[4] == 7)
            data = section;
        offset += length;
    }
    // Discipline 0, an instantaneous forecast (template 4.0) on a fixed
    // surface of type 100, isobaric: u (2, 2), v (2, 3) or temperature (0, 0).
    if (message[6] != 0 || product.size() < 34 || twoBytes(product, 7) != 0 || product[22] != 100)
        return Screen::Skip;
    const unsigned parameter = twoBytes(product, 9);
    if (parameter != 0x0202 && parameter != 0x0203 && parameter != 0x0000)
        return Screen::Skip;
    if (const unsigned t = twoBytes(grid, 12); std::find(kGrids.begin(), kGrids.end(), t) == kGrids.end())
        Fail(name,
            "the grid is not a regular latitude-longitude grid but one of template 3." + std::to_string(t)
                + ".");
    if (const unsigned t = twoBytes(packing, 9);
        std::find(kPackings.begin(), kPackings.end(), t) == kPackings.end())
        Fail(name,
            MessageNumber(number) + " is packed in a way this program does not read (template 5."
                + std::to_string(t) + ").");
    // What ecCodes would allocate and read, held to what the message holds.
    const std::uint64_t points = BigEndian(grid.data() + 6, 4);
    const std::uint64_t values = BigEndian(packing.data() + 5, 4);
    const auto undecodable = [&](const std::string& why) {
        Fail(name, MessageNumber(number) + " cannot be decoded: " + why + ".");
    };
    if (points > kMaxPointsPerField)
        undecodable("it declares more points than this program reads");
    if (values > points)
        undecodable("it declares more values than points");
    if (bitmap[5] == 0 && bitmap.size() - 6 < (points + 7) / 8)
        undecodable("its bitmap is too short");
    std::uint64_t bits = 0; // per value, for the packings whose data length follows from it
    if (twoBytes(packing, 9) == 4 && packing.size() >= 12)
        bits = packing[11] == 1 ? 32 : packing[11] == 2 ? 64 : 128;
    else if (twoBytes(packing, 9) == 0 && packing.size() >= 21)
        bits = packing[19];
    if ((twoBytes(packing, 9) == 4 && packing.size() < 12)
        || (twoBytes(packing, 9) == 0 && packing.size() < 21) || data.size() - 5 < (values * bits + 7) / 8)
        undecodable("its data section is too short");
    return Screen::Read;
}

// Where the messages come from: bytes in memory or a file read a message at
// a time, so that a large file is never held whole.
class MessageSource {
public:
    virtual ~MessageSource() = default;
    // The bytes left, and up to count of them from the current position
    // (fewer at the end).
    virtual std::uint64_t Remaining() const = 0;
    virtual std::span<const unsigned char> Take(std::size_t count) = 0;
    // The whole message whose first 16 bytes Take has just given, length
    // bytes in all (fewer when the bytes end first).
    virtual std::span<const unsigned char> Message(std::uint64_t length) = 0;
};

class MemorySource final : public MessageSource {
public:
    explicit MemorySource(std::span<const unsigned char> bytes)
        : m_bytes(bytes)
    { }
    std::uint64_t Remaining() const override { return m_bytes.size() - m_offset; }
    std::span<const unsigned char> Take(std::size_t count) override
    {
        const std::size_t taken = std::min<std::size_t>(count, m_bytes.size() - m_offset);
        const std::span<const unsigned char> part = m_bytes.subspan(m_offset, taken);
        m_offset += taken;
        return part;
    }
    std::span<const unsigned char> Message(std::uint64_t length) override
    {
        const std::size_t start = m_offset - 16;
        const std::size_t taken
            = static_cast<std::size_t>(std::min<std::uint64_t>(length, m_bytes.size() - start));
        m_offset = start + taken;
        return m_bytes.subspan(start, taken);
    }

private:
    std::span<const unsigned char> m_bytes;
    std::size_t m_offset = 0;
};

struct FileClose {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

class FileSource final : public MessageSource {
public:
    FileSource(std::FILE* file, std::uint64_t size)
        : m_file(file)
        , m_remaining(size)
    { }
    std::uint64_t Remaining() const override { return m_remaining; }
    std::span<const unsigned char> Take(std::size_t count) override
    {
        const std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(count, m_remaining));
        m_buffer.resize(wanted);
        const std::size_t got = std::fread(m_buffer.data(), 1, wanted, m_file.get());
        m_remaining = got < wanted ? 0 : m_remaining - got;
        return {m_buffer.data(), got};
    }
    std::span<const unsigned char> Message(std::uint64_t length) override
    {
        const std::size_t wanted
            = static_cast<std::size_t>(std::min<std::uint64_t>(length - 16, m_remaining));
        m_buffer.resize(16 + wanted);
        const std::size_t got = std::fread(m_buffer.data() + 16, 1, wanted, m_file.get());
        m_remaining = got < wanted ? 0 : m_remaining - got;
        return {m_buffer.data(), 16 + got};
    }

private:
    std::unique_ptr<std::FILE, FileClose> m_file;
    std::uint64_t m_remaining;
    // The message being read; each Take replaces it.
    std::vector<unsigned char> m_buffer;
};

// --- Reading one field with ecCodes --------------------------------------

struct HandleDelete {
    void operator()(codes_handle* handle) const { codes_handle_delete(handle); }
};
using Handle = std::unique_ptr<codes_handle, HandleDelete>;

void QuietLogging(const codes_context*, int, const char*) { }

std::optional<long> GetLong(codes_handle* h, const char* key)
{
    long value = 0;
    if (codes_get_long(h, key, &value) != 0 || value == CODES_MISSING_LONG)
        return std::nullopt;
    return value;
}

std::optional<double> GetDouble(codes_handle* h, const char* key)
{
    double value = 0;
    if (codes_get_double(h, key, &value) != 0 || value == CODES_MISSING_DOUBLE || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string GetString(codes_handle* h, const char* key)
{
    char text[128] = {};
    std::size_t length = sizeof text;
    if (codes_get_string(h, key, text, &length) != 0)
        return "";
    text[sizeof text - 1] = '\0';
    return text;
}

enum Quantity { kU, kV, kTemperature, kQuantities };

std::optional<Quantity> QuantityOf(codes_handle* h)
{
    const auto discipline = GetLong(h, "discipline");
    const auto category = GetLong(h, "parameterCategory");
    const auto number = GetLong(h, "parameterNumber");
    if (!discipline || !category || !number || *discipline != 0)
        return std::nullopt;
    if (*category == 2 && *number == 2)
        return kU;
    if (*category == 2 && *number == 3)
        return kV;
    if (*category == 0 && *number == 0)
        return kTemperature;
    return std::nullopt;
}

// The level's pressure from the file's scaled value, not the rounded
// "level" key; none when the field is not on an isobaric surface.
std::optional<double> PressureHpa(codes_handle* h)
{
    const auto type = GetLong(h, "typeOfFirstFixedSurface");
    const auto factor = GetLong(h, "scaleFactorOfFirstFixedSurface");
    const auto scaled = GetLong(h, "scaledValueOfFirstFixedSurface");
    if (!type || *type != 100 || !factor || !scaled || *factor < -9 || *factor > 9 || *scaled <= 0)
        return std::nullopt;
    // Dividing or multiplying the scaled value once keeps round pressures exact.
    const double scale = std::pow(10.0, static_cast<double>(std::labs(*factor)));
    const double pascals
        = *factor > 0 ? static_cast<double>(*scaled) / scale : static_cast<double>(*scaled) * scale;
    return pascals / 100;
}

// How the file orders its points.
struct Scanning {
    bool iNegative = false;
    bool jPositive = false;
    bool jConsecutive = false;
};

bool operator==(const ForecastGrid& a, const ForecastGrid& b)
{
    return a.southLatitude == b.southLatitude && a.westLongitude == b.westLongitude
        && a.latitudeStep == b.latitudeStep && a.longitudeStep == b.longitudeStep && a.rows == b.rows
        && a.columns == b.columns && a.global == b.global;
}

double Wrap360(double longitude)
{
    double wrapped = std::fmod(longitude, 360.0);
    if (wrapped < 0)
        wrapped += 360.0;
    return wrapped >= 360.0 ? 0.0 : wrapped;
}

// The grid of a regular latitude-longitude field, or the sentence that
// refuses it.
std::string ReadGrid(codes_handle* h, ForecastGrid& grid, Scanning& scanning)
{
    const auto ni = GetLong(h, "Ni");
    const auto nj = GetLong(h, "Nj");
    const auto firstLat = GetDouble(h, "latitudeOfFirstGridPointInDegrees");
    const auto firstLon = GetDouble(h, "longitudeOfFirstGridPointInDegrees");
    const auto lastLat = GetDouble(h, "latitudeOfLastGridPointInDegrees");
    const auto lastLon = GetDouble(h, "longitudeOfLastGridPointInDegrees");
    const auto iNegative = GetLong(h, "iScansNegatively");
    const auto jPositive = GetLong(h, "jScansPositively");
    const auto jConsecutive = GetLong(h, "jPointsAreConsecutive");
    const auto alternate = GetLong(h, "alternativeRowScanning");
    if (!ni || !nj || !firstLat || !firstLon || !lastLat || !lastLon || !iNegative || !jPositive
        || !jConsecutive)
        return "the grid is not described completely";
    if (*ni < 2 || *nj < 2)
        return "the grid has fewer than two rows or columns";
    if (static_cast<std::uint64_t>(*ni) * static_cast<std::uint64_t>(*nj) > kMaxPointsPerField)
        return "the grid of " + std::to_string(*ni) + " by " + std::to_string(*nj)
            + " points is larger than this program reads";
    if (alternate && *alternate != 0)
        return "the grid's rows alternate in direction, which this program does not read";
    if (std::fabs(*firstLat) > 90 || std::fabs(*lastLat) > 90)
        return "a grid latitude lies beyond a pole";
    scanning = {*iNegative != 0, *jPositive != 0, *jConsecutive != 0};
    const double columns = static_cast<double>(*ni);
    const double rows = static_cast<double>(*nj);
    // The increments as given; when the file leaves them out, from the corners.
    const double latitudeSpan = std::fabs(*lastLat - *firstLat);
    const double west = scanning.iNegative ? *lastLon : *firstLon;
    const double east = scanning.iNegative ? *firstLon : *lastLon;
    const double longitudeSpan = Wrap360(east - west);
    double dj = GetDouble(h, "jDirectionIncrementInDegrees").value_or(0);
    double di = GetDouble(h, "iDirectionIncrementInDegrees").value_or(0);
    if (!(dj > 0))
        dj = latitudeSpan / (rows - 1);
    if (!(di > 0))
        di = longitudeSpan / (columns - 1);
    // Corners and increments agree to the file's millionths of a degree.
    const auto agrees = [](double span, double step, double count) {
        return std::fabs(span - step * (count - 1)) <= 1e-3 + count * 1e-6;
    };
    if (!(dj > 0) || !(di > 0) || !agrees(latitudeSpan, dj, rows)
        || (!agrees(longitudeSpan, di, columns) && !agrees(longitudeSpan + 360, di, columns)))
        return "the grid's corners do not agree with its spacing";
    if (scanning.jPositive != (*firstLat < *lastLat))
        return "the grid's corners do not agree with its scanning order";
    const double around = di * columns;
    if (around > 360 + 1e-3 + columns * 1e-6)
        return "the grid's columns go round the earth more than once";
    grid.southLatitude = std::min(*firstLat, *lastLat);
    grid.westLongitude = Wrap360(west);
    grid.latitudeStep = dj;
    grid.longitudeStep = di;
    grid.rows = static_cast<std::size_t>(*nj);
    grid.columns = static_cast<std::size_t>(*ni);
    grid.global = std::fabs(around - 360) <= 1e-3 + columns * 1e-6;
    return "";
}

// Puts values decoded in the file's order into rows from south to north and
// columns from west to east.
void Normalise(std::vector<double>& values, const ForecastGrid& grid, const Scanning& scanning)
{
    const std::size_t columns = grid.columns;
    const std::size_t rows = grid.rows;
    if (scanning.jConsecutive) {
        std::vector<double> file(values.size());
        file.swap(values);
        for (std::size_t k = 0; k < file.size(); ++k)
            values[k % rows * columns + k / rows] = file[k];
    }
    if (!scanning.jPositive) {
        for (std::size_t r = 0; r < rows / 2; ++r)
            std::swap_ranges(values.begin() + static_cast<std::ptrdiff_t>(r * columns),
                values.begin() + static_cast<std::ptrdiff_t>((r + 1) * columns),
                values.begin() + static_cast<std::ptrdiff_t>((rows - 1 - r) * columns));
    }
    if (scanning.iNegative) {
        for (std::size_t r = 0; r < rows; ++r)
            std::reverse(values.begin() + static_cast<std::ptrdiff_t>(r * columns),
                values.begin() + static_cast<std::ptrdiff_t>((r + 1) * columns));
    }
    for (double& value : values) {
        if (value == kMissingSentinel)
            value = std::numeric_limits<double>::quiet_NaN();
    }
}

bool ValidDate(long date, long time)
{
    const long month = date / 100 % 100;
    const long day = date % 100;
    return date / 10000 >= 1 && date / 10000 <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= 31
        && time >= 0 && time / 100 <= 23 && time % 100 <= 59;
}

// Minutes since 1970-01-01 00:00 of a valid yyyymmdd and hhmm.
long long Minutes(long date, long time)
{
    long long year = date / 10000;
    const long long month = date / 100 % 100;
    const long long day = date % 100;
    year -= month <= 2 ? 1 : 0;
    const long long era = (year >= 0 ? year : year - 399) / 400;
    const long long yearOfEra = year - era * 400;
    const long long dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    const long long days = era * 146097 + dayOfEra - 719468;
    return days * 1440 + time / 100 * 60 + time % 100;
}

// The yyyymmdd and hhmm of minutes since 1970-01-01 00:00.
std::pair<long, long> DateAndTime(long long minutes)
{
    const long long days = (minutes >= 0 ? minutes : minutes - 1439) / 1440;
    const long long minuteOfDay = minutes - days * 1440;
    const long long shifted = days + 719468;
    const long long era = (shifted >= 0 ? shifted : shifted - 146096) / 146097;
    const long long dayOfEra = shifted - era * 146097;
    const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    return {static_cast<long>(year * 10000 + month * 100 + day),
        static_cast<long>(minuteOfDay / 60 * 100 + minuteOfDay % 60)};
}

// The forecast step in minutes, in any of the units a forecast's step is
// given in (GRIB2 code table 4.4); none for another unit or beyond a century.
std::optional<long long> StepMinutes(codes_handle* h)
{
    const auto unit = GetLong(h, "indicatorOfUnitOfTimeRange");
    const auto amount = GetLong(h, "forecastTime");
    if (!unit || !amount || std::llabs(*amount) > 100'000'000)
        return std::nullopt;
    long long minutes = 0;
    switch (*unit) {
    case 0:
        minutes = *amount;
        break;
    case 1:
        minutes = *amount * 60LL;
        break;
    case 2:
        minutes = *amount * 1440LL;
        break;
    case 10:
        minutes = *amount * 180LL;
        break;
    case 11:
        minutes = *amount * 360LL;
        break;
    case 12:
        minutes = *amount * 720LL;
        break;
    case 13:
        minutes = *amount / 60;
        break;
    default:
        return std::nullopt;
    }
    if (std::llabs(minutes) > 100LL * 366 * 1440)
        return std::nullopt;
    return minutes;
}

std::string ModelName(codes_handle* h)
{
    std::string centre = GetString(h, "centre");
    const auto process = GetLong(h, "generatingProcessIdentifier");
    if (centre == "kwbc" && process && (*process == 96 || *process == 81 || *process == 82))
        return "GFS";
    if (centre == "ecmf")
        return "ECMWF";
    if (centre.empty())
        return "unknown centre";
    std::transform(centre.begin(), centre.end(), centre.begin(),
        [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; });
    return centre;
}

// What the file holds so far, by validity time and level.
struct LevelFields {
    std::array<std::vector<double>, kQuantities> values;
    std::array<bool, kQuantities> present = {};
};
struct TimeFields {
    int runDate = 0;
    int runTime = 0;
    int stepHours = 0;
    std::map<double, LevelFields, std::greater<>> levels;
};

class ForecastBuilder {
public:
    explicit ForecastBuilder(std::string name)
        : m_name(std::move(name))
    { }

    void AddField(std::span<const unsigned char> message, std::size_t number)
    {
        const Handle handle(codes_handle_new_from_message(nullptr, message.data(), message.size()));
        if (!handle)
            Fail(m_name, MessageNumber(number) + " cannot be decoded.");
        codes_handle* h = handle.get();
        const auto quantity = QuantityOf(h);
        const auto pdt = GetLong(h, "productDefinitionTemplateNumber");
        // Instantaneous fields of one forecast only: no averages, no
        // ensemble members.
        if (!quantity || !pdt || *pdt != 0)
            return;
        const auto pressure = PressureHpa(h);
        if (!pressure)
            return;
        const std::string gridType = GetString(h, "gridType");
        if (gridType != "regular_ll")
            Fail(m_name,
                "the grid is not a regular latitude-longitude grid but "
                    + (gridType.empty() ? std::string("an unknown one") : gridType) + ".");
        if (*quantity != kTemperature && GetLong(h, "uvRelativeToGrid").value_or(0) != 0)
            Fail(m_name, "the winds are relative to the grid, not to the earth.");
        ForecastGrid grid;
        Scanning scanning;
        if (const std::string fault = ReadGrid(h, grid, scanning); !fault.empty())
            Fail(m_name, MessageNumber(number) + ": " + fault + ".");
        if (!m_grid)
            m_grid = grid;
        else if (!(*m_grid == grid))
            Fail(m_name, "the fields are on different grids.");

        // The validity from the run and the step, not from ecCodes's
        // validityDate, which can take forever over a damaged date.
        const auto runDate = GetLong(h, "dataDate");
        const auto runTime = GetLong(h, "dataTime");
        const auto step = StepMinutes(h);
        if (!runDate || !runTime || !step || !ValidDate(*runDate, *runTime))
            Fail(m_name, MessageNumber(number) + " has no valid date and time.");
        const long long validity = Minutes(*runDate, *runTime) + *step;
        const auto [validityDate, validityTime] = DateAndTime(validity);
        if (!ValidDate(validityDate, validityTime))
            Fail(m_name, MessageNumber(number) + " has no valid date and time.");
        // A time's run and step are those of its first field.
        TimeFields& time = m_times[{static_cast<int>(validityDate), static_cast<int>(validityTime)}];
        if (time.levels.empty()) {
            time.runDate = static_cast<int>(*runDate);
            time.runTime = static_cast<int>(*runTime);
            time.stepHours = static_cast<int>(*step / 60);
        }
        LevelFields& level = time.levels[*pressure];
        // Two fields of one quantity, level and time could differ, and
        // nothing says which is meant: refused rather than one chosen.
        if (level.present[*quantity])
            Fail(m_name, "the same field is in the file twice (" + MessageNumber(number) + ").");

        const std::size_t points = grid.rows * grid.columns;
        const auto dataPoints = GetLong(h, "numberOfDataPoints");
        std::size_t count = 0;
        if (!dataPoints || static_cast<std::uint64_t>(*dataPoints) != points
            || codes_get_size(h, "values", &count) != 0 || count != points)
            Fail(m_name, MessageNumber(number) + ": the grid's size does not match the number of values.");
        m_values += points;
        if (m_values > kMaxValuesPerFile)
            Fail(m_name, "the file holds more values than this program reads at once.");
        if (m_model.empty())
            m_model = ModelName(h);

        std::vector<double>& values = level.values[*quantity];
        values.resize(points);
        if (codes_set_double(h, "missingValue", kMissingSentinel) != 0
            || codes_get_double_array(h, "values", values.data(), &count) != 0 || count != points)
            Fail(m_name, MessageNumber(number) + " cannot be decoded.");
        Normalise(values, grid, scanning);
        level.present[*quantity] = true;
    }

    Forecast Finish()
    {
        Forecast forecast;
        forecast.model = m_model;
        for (auto& [validity, fields] : m_times) {
            ForecastTime time;
            time.runDate = fields.runDate;
            time.runTime = fields.runTime;
            time.stepHours = fields.stepHours;
            time.validityDate = validity.first;
            time.validityTime = validity.second;
            for (auto& [pressure, level] : fields.levels) {
                if (!level.present[kU] || !level.present[kV])
                    continue;
                ForecastLevel out;
                out.pressureHpa = pressure;
                out.u = std::move(level.values[kU]);
                out.v = std::move(level.values[kV]);
                out.temperature = std::move(level.values[kTemperature]);
                time.levels.push_back(std::move(out));
            }
            if (!time.levels.empty())
                forecast.times.push_back(std::move(time));
        }
        if (forecast.times.empty())
            Fail(m_name, "the file holds no u and v wind on pressure levels.");
        forecast.grid = *m_grid;
        return forecast;
    }

private:
    std::string m_name;
    std::string m_model;
    std::optional<ForecastGrid> m_grid;
    std::map<std::pair<int, int>, TimeFields> m_times; // by validity date and time
    std::uint64_t m_values = 0;
};

Forecast Parse(MessageSource& source, const std::string& name)
{
    static std::once_flag quiet;
    std::call_once(quiet, [] { codes_context_set_logging_proc(codes_context_get_default(), QuietLogging); });
    ForecastBuilder builder(name);
    std::size_t number = 0;
    while (source.Remaining() > 0) {
        const std::uint64_t remaining = source.Remaining();
        std::span<const unsigned char> header = source.Take(16);
        if (number > 0 && std::all_of(header.begin(), header.end(), [](unsigned char b) { return b == 0; })) {
            // Zeros padding the end of the file.
            while (source.Remaining() > 0) {
                const std::span<const unsigned char> rest = source.Take(4096);
                if (!std::all_of(rest.begin(), rest.end(), [](unsigned char b) { return b == 0; }))
                    Fail(name, "the file holds something other than GRIB messages after its last one.");
            }
            break;
        }
        ++number;
        if (header.size() < 8 || std::memcmp(header.data(), "GRIB", 4) != 0) {
            if (number == 1)
                Fail(name, "this is not a GRIB file.");
            Fail(name,
                "the file holds something other than GRIB messages after " + MessageNumber(number - 1) + ".");
        }
        if (header[7] == 1)
            Fail(name, "this is a GRIB edition 1 file; this program reads GRIB2.");
        if (header[7] != 2)
            Fail(name, MessageNumber(number) + " is not a GRIB2 message.");
        if (header.size() < 16)
            Fail(name, "the file is cut short in " + MessageNumber(number) + ".");
        const std::uint64_t length = BigEndian(header.data() + 8, 8);
        if (length < 16 + 21 + 4 || length > kMaxMessageBytes)
            Fail(name, MessageNumber(number) + " declares an impossible length.");
        if (length > remaining)
            Fail(name, "the file is cut short in " + MessageNumber(number) + ".");
        const std::span<const unsigned char> message = source.Message(length);
        if (message.size() != length)
            Fail(name, "the file is cut short in " + MessageNumber(number) + ".");
        if (std::memcmp(message.data() + message.size() - 4, "7777", 4) != 0)
            Fail(name, MessageNumber(number) + " does not end where it says.");
        std::vector<std::vector<unsigned char>> storage;
        std::vector<std::span<const unsigned char>> fields;
        if (const std::string fault = SplitFields(message, storage, fields); !fault.empty())
            Fail(name, MessageNumber(number) + " cannot be decoded: " + fault + ".");
        for (const std::span<const unsigned char> field : fields) {
            if (ScreenField(field, number, name) == Screen::Read)
                builder.AddField(field, number);
        }
    }
    if (number == 0)
        Fail(name, "the file is empty.");
    return builder.Finish();
}

std::string DateText(int date)
{
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", date / 10000 % 10000, date / 100 % 100, date % 100);
    return text;
}

std::string TimeText(int time)
{
    char text[16];
    if (time % 100 == 0)
        std::snprintf(text, sizeof text, "%02d UTC", time / 100 % 100);
    else
        std::snprintf(text, sizeof text, "%02d:%02d UTC", time / 100 % 100, time % 100);
    return text;
}

std::string PressureText(double hpa)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", hpa);
    return text;
}

} // namespace

Forecast ReadForecast(const std::string& path)
{
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    if (error || !std::filesystem::exists(status))
        Fail(path, "the file cannot be opened: it does not exist.");
    if (!std::filesystem::is_regular_file(status))
        Fail(path, "this is not a regular file.");
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    std::FILE* file = error ? nullptr : std::fopen(path.c_str(), "rb");
    if (!file)
        Fail(path, "the file cannot be opened.");
    FileSource source(file, size);
    return Parse(source, path);
}

Forecast ParseForecast(std::span<const unsigned char> bytes, const std::string& name)
{
    MemorySource source(bytes);
    return Parse(source, name);
}

std::string ForecastTimeLabel(const Forecast& forecast, const ForecastTime& time)
{
    return forecast.model + " " + DateText(time.runDate) + " " + TimeText(time.runTime) + " +"
        + std::to_string(time.stepHours) + " h";
}

std::string ForecastValidityText(const ForecastTime& time)
{
    return "valid " + DateText(time.validityDate) + " " + TimeText(time.validityTime);
}

std::string ForecastLevelsText(const ForecastTime& time)
{
    if (time.levels.empty())
        return "no levels";
    if (time.levels.size() == 1)
        return "1 level, " + PressureText(time.levels.front().pressureHpa) + " hPa";
    return std::to_string(time.levels.size()) + " levels, " + PressureText(time.levels.front().pressureHpa)
        + " to " + PressureText(time.levels.back().pressureHpa) + " hPa";
}

} // namespace mirovax
