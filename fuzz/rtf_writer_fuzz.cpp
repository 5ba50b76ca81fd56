// libFuzzer target for the report's rich-text writer: whatever the window's
// texts hold, the document must read back with one paragraph per row, the
// row's own formatting, and exactly the characters of the texts (tabs kept,
// other control characters as blanks, broken UTF-8 as U+FFFD).
#include "report/report_model.h"
#include "report/report_text.h"
#include "report/rtf_writer.h"
#include "rtf_test_reader.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {

using mirovax::ReportModel;
using mirovax::ReportRow;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::string Shown(const std::string& text)
{
    std::u32string codePoints = mirovax::DecodeUtf8(text);
    for (char32_t& c : codePoints) {
        if (c != U'\t' && mirovax::IsReportControlCharacter(c))
            c = U' ';
    }
    return mirovax::EncodeUtf8(codePoints);
}

void CheckDocument(const ReportModel& model)
{
    const std::string rtf = mirovax::WriteRtf(model);
    for (const char c : rtf) {
        const auto b = static_cast<unsigned char>(c);
        Check((b >= 0x20 && b < 0x7F) || b == '\r' || b == '\n');
    }
    const mirovax::testing::ReadDocument doc = mirovax::testing::ReadRtf(rtf); // throws on broken markup
    Check(doc.paragraphs.size() == model.rows.size());
    Check(doc.trailingText.empty());
    for (size_t i = 0; i < model.rows.size(); ++i) {
        const ReportRow& row = model.rows[i];
        const auto& p = doc.paragraphs[i];
        Check(p.text == Shown(row.text));
        Check(p.bold == row.bold && p.underline == row.underline);
        Check(p.fontName == "Arial");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider provider(data, size);

    // A model of arbitrary rows.
    ReportModel model;
    const int rows = provider.ConsumeIntegralInRange(0, 8);
    for (int i = 0; i < rows; ++i) {
        ReportRow row;
        row.sizePt = provider.ConsumeIntegralInRange(1, 72);
        row.bold = provider.ConsumeBool();
        row.underline = provider.ConsumeBool();
        row.text = provider.ConsumeRandomLengthString(256);
        model.rows.push_back(std::move(row));
    }
    CheckDocument(model);

    // A whole report whose fields hold arbitrary texts: the texts may never
    // add a row or a column.
    mirovax::ReportSnapshot snapshot;
    mirovax::FillFixedCaptions(snapshot);
    snapshot.modeText = provider.PickValueInArray<const char*>(
        {"Trip Time and Fuel", "Maximum Payload", "Maximum Range", "other"});
    for (std::string& edit : snapshot.fields.texts)
        edit = provider.ConsumeRandomLengthString(32);
    for (std::string& label : snapshot.labels)
        label = provider.ConsumeRandomLengthString(32);
    snapshot.regulationText = provider.ConsumeRandomLengthString(32);
    snapshot.setupFileName = provider.ConsumeRemainingBytesAsString();
    const ReportModel report = mirovax::BuildReport(snapshot);
    Check(report.rows.size() >= 32 && report.rows.size() <= 36);
    const ReportModel clean = mirovax::BuildReport([&] {
        mirovax::ReportSnapshot plain;
        mirovax::FillFixedCaptions(plain);
        plain.modeText = snapshot.modeText;
        return plain;
    }());
    Check(report.rows.size() == clean.rows.size());
    for (size_t i = 0; i < report.rows.size(); ++i) {
        const auto tabs = [](const std::string& s) { return std::count(s.begin(), s.end(), '\t'); };
        Check(tabs(report.rows[i].text) == tabs(clean.rows[i].text));
    }
    CheckDocument(report);
    return 0;
}
