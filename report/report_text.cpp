#include "report/report_text.h"

namespace mirovax {

bool IsReportControlCharacter(char32_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029;
}

std::string ReportSafeText(std::string_view text)
{
    std::u32string codePoints = DecodeUtf8(text);
    for (char32_t& c : codePoints) {
        if (IsReportControlCharacter(c))
            c = U' ';
    }
    return EncodeUtf8(codePoints);
}

} // namespace mirovax
