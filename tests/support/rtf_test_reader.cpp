#include "rtf_test_reader.h"

#include "report/report_text.h"

#include <cctype>
#include <map>

namespace mirovax::testing {

namespace {

struct State {
    int halfPoints = 24;
    bool bold = false;
    bool underline = false;
    int font = 0;
    int unicodeSkip = 1;
    bool inFontTable = false;
};

class Reader {
public:
    explicit Reader(std::string_view rtf)
        : m_rtf(rtf)
    { }

    ReadDocument Run()
    {
        if (m_rtf.substr(0, 6) != "{\\rtf1")
            throw RtfReadError("no {\\rtf1 header");
        while (m_pos < m_rtf.size()) {
            const char c = m_rtf[m_pos];
            if (c == '{') {
                m_stack.push_back(m_state);
                ++m_pos;
            } else if (c == '}') {
                if (m_stack.empty())
                    throw RtfReadError("unbalanced }");
                if (m_state.inFontTable && !m_fontTableText.empty())
                    m_fontNames[m_fontTableFont] = Trimmed(m_fontTableText);
                m_state = m_stack.back();
                m_stack.pop_back();
                ++m_pos;
                if (m_stack.empty()) {
                    SkipLineBreaks();
                    if (m_pos != m_rtf.size())
                        throw RtfReadError("text after the document's closing brace");
                    break;
                }
            } else if (c == '\\') {
                ControlSymbolOrWord();
            } else if (c == '\r' || c == '\n') {
                ++m_pos;
            } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F) {
                throw RtfReadError(
                    "raw byte " + std::to_string(static_cast<unsigned char>(c)) + " in the markup");
            } else {
                AddCharacter(static_cast<unsigned char>(c));
                ++m_pos;
            }
        }
        if (!m_stack.empty() || m_pos != m_rtf.size())
            throw RtfReadError("document not closed");
        m_document.trailingText = EncodeUtf8(m_text);
        return m_document;
    }

private:
    static std::string Trimmed(const std::u32string& text)
    {
        std::string s = EncodeUtf8(text);
        while (!s.empty() && (s.back() == ';' || s.back() == ' '))
            s.pop_back();
        return s;
    }

    void SkipLineBreaks()
    {
        while (m_pos < m_rtf.size() && (m_rtf[m_pos] == '\r' || m_rtf[m_pos] == '\n'))
            ++m_pos;
    }

    void AddCharacter(char32_t c)
    {
        if (m_pendingHighSurrogate != 0) {
            if (c >= 0xDC00 && c <= 0xDFFF) {
                c = 0x10000 + ((m_pendingHighSurrogate - 0xD800) << 10) + (c - 0xDC00);
                m_pendingHighSurrogate = 0;
            } else {
                throw RtfReadError("high surrogate without its low half");
            }
        } else if (c >= 0xD800 && c <= 0xDBFF) {
            m_pendingHighSurrogate = c;
            return;
        } else if (c >= 0xDC00 && c <= 0xDFFF) {
            throw RtfReadError("lone low surrogate");
        }
        if (m_state.inFontTable)
            m_fontTableText.push_back(c);
        else
            m_text.push_back(c);
    }

    // Skips the fallback of a \uN: unicodeSkip characters, a \'xx or a
    // control word counting as one.
    void SkipFallback()
    {
        for (int i = 0; i < m_state.unicodeSkip && m_pos < m_rtf.size(); ++i) {
            const char c = m_rtf[m_pos];
            if (c == '{' || c == '}')
                return;
            if (c == '\\') {
                if (m_pos + 1 < m_rtf.size() && m_rtf[m_pos + 1] == '\'')
                    m_pos += 4;
                else
                    throw RtfReadError("control word as a \\u fallback");
            } else {
                ++m_pos;
            }
        }
    }

    void ControlSymbolOrWord()
    {
        ++m_pos;
        if (m_pos >= m_rtf.size())
            throw RtfReadError("backslash at the end");
        const char c = m_rtf[m_pos];
        if (c == '\\' || c == '{' || c == '}') {
            AddCharacter(static_cast<unsigned char>(c));
            ++m_pos;
            return;
        }
        if (c == '\'') {
            if (m_pos + 2 >= m_rtf.size() || !std::isxdigit(static_cast<unsigned char>(m_rtf[m_pos + 1]))
                || !std::isxdigit(static_cast<unsigned char>(m_rtf[m_pos + 2])))
                throw RtfReadError("bad \\' escape");
            const auto byte
                = static_cast<char32_t>(std::stoul(std::string(m_rtf.substr(m_pos + 1, 2)), nullptr, 16));
            m_pos += 3;
            AddCharacter(Windows1252ToUnicode(static_cast<unsigned char>(byte)));
            return;
        }
        if (c == '*') {
            ++m_pos;
            return;
        }
        if (!std::isalpha(static_cast<unsigned char>(c)))
            throw RtfReadError(std::string("unknown control symbol ") + c);
        const size_t start = m_pos;
        while (m_pos < m_rtf.size() && std::isalpha(static_cast<unsigned char>(m_rtf[m_pos])))
            ++m_pos;
        const std::string word(m_rtf.substr(start, m_pos - start));
        bool hasParameter = false;
        long parameter = 0;
        const size_t numberStart = m_pos;
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == '-')
            ++m_pos;
        while (m_pos < m_rtf.size() && std::isdigit(static_cast<unsigned char>(m_rtf[m_pos])))
            ++m_pos;
        if (m_pos > numberStart) {
            hasParameter = true;
            parameter = std::stol(std::string(m_rtf.substr(numberStart, m_pos - numberStart)));
        }
        if (m_pos < m_rtf.size() && m_rtf[m_pos] == ' ')
            ++m_pos;
        Apply(word, hasParameter, parameter);
    }

    void Apply(const std::string& word, bool hasParameter, long parameter)
    {
        if (word == "rtf" || word == "ansi" || word == "ansicpg" || word == "deff" || word == "fswiss"
            || word == "fcharset")
            return;
        if (word == "fonttbl") {
            m_state.inFontTable = true;
            return;
        }
        if (word == "f") {
            m_state.font = static_cast<int>(parameter);
            if (m_state.inFontTable) {
                m_fontTableFont = m_state.font;
                m_fontTableText.clear();
            }
            return;
        }
        if (word == "uc") {
            m_state.unicodeSkip = static_cast<int>(parameter);
            return;
        }
        if (word == "u") {
            if (!hasParameter)
                throw RtfReadError("\\u without a number");
            AddCharacter(static_cast<char32_t>(parameter < 0 ? parameter + 65536 : parameter));
            SkipFallback();
            return;
        }
        if (m_state.inFontTable)
            throw RtfReadError("unexpected \\" + word + " in the font table");
        if (word == "pard") {
            m_tabs.clear();
        } else if (word == "tx") {
            m_tabs.push_back(static_cast<int>(parameter));
        } else if (word == "plain") {
            m_state.halfPoints = 24;
            m_state.bold = false;
            m_state.underline = false;
            m_state.font = 0;
        } else if (word == "fs") {
            m_state.halfPoints = static_cast<int>(parameter);
        } else if (word == "b") {
            m_state.bold = !hasParameter || parameter != 0;
        } else if (word == "ul") {
            m_state.underline = !hasParameter || parameter != 0;
        } else if (word == "ulnone") {
            m_state.underline = false;
        } else if (word == "tab") {
            AddCharacter(U'\t');
        } else if (word == "par") {
            if (m_pendingHighSurrogate != 0)
                throw RtfReadError("high surrogate at the end of a paragraph");
            ReadParagraph p;
            p.text = EncodeUtf8(m_text);
            p.halfPoints = m_state.halfPoints;
            p.bold = m_state.bold;
            p.underline = m_state.underline;
            p.tabStopsTwips = m_tabs;
            p.fontName = m_fontNames.count(m_state.font) ? m_fontNames[m_state.font] : "";
            m_document.paragraphs.push_back(std::move(p));
            m_text.clear();
        } else {
            throw RtfReadError("unknown control word \\" + word);
        }
    }

    std::string_view m_rtf;
    size_t m_pos = 0;
    State m_state;
    std::vector<State> m_stack;
    std::u32string m_text;
    std::u32string m_fontTableText;
    int m_fontTableFont = 0;
    std::map<int, std::string> m_fontNames;
    std::vector<int> m_tabs;
    char32_t m_pendingHighSurrogate = 0;
    ReadDocument m_document;
};

} // namespace

ReadDocument ReadRtf(std::string_view rtf)
{
    return Reader(rtf).Run();
}

} // namespace mirovax::testing
