#include "platform/text/AnsiCodePage.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at text[pos], advancing pos. A malformed, overlong,
// surrogate or truncated sequence yields U+FFFD and consumes only its first byte,
// so the bytes after it are decoded on their own.
char32_t DecodeOne(std::string_view text, size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t code = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        ++pos;
        return kReplacement;
    }
    if (pos + length > text.size()) {
        ++pos;
        return kReplacement;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            ++pos;
            return kReplacement;
        }
        code = (code << 6) | (next & 0x3F);
    }
    if (code < minimum || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) {
        ++pos;
        return kReplacement;
    }
    pos += length;
    return code;
}

// Gathers converted code units in a small buffer and appends them to the result in bulk:
// appending unit by unit costs several times the conversion itself, which shows with a
// text of many megabytes.
template <typename Unit>
class BulkAppender {
  public:
    explicit BulkAppender(std::basic_string<Unit>& out) : m_out(out) {}
    BulkAppender(const BulkAppender&) = delete;
    BulkAppender& operator=(const BulkAppender&) = delete;
    ~BulkAppender() { Flush(); }

    void Put(Unit unit) {
        if (m_used == kSize)
            Flush();
        m_buffer[m_used++] = unit;
    }

  private:
    static constexpr std::size_t kSize = 4096;

    void Flush() {
        m_out.append(m_buffer, m_used);
        m_used = 0;
    }

    std::basic_string<Unit>& m_out;
    Unit m_buffer[kSize];
    std::size_t m_used = 0;
};

void AppendUtf8(BulkAppender<char>& out, char32_t code) {
    if (code < 0x80) {
        out.Put(static_cast<char>(code));
    } else if (code < 0x800) {
        out.Put(static_cast<char>(0xC0 | (code >> 6)));
        out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    } else if (code < 0x10000) {
        out.Put(static_cast<char>(0xE0 | (code >> 12)));
        out.Put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.Put(static_cast<char>(0xF0 | (code >> 18)));
        out.Put(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
        out.Put(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.Put(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

} // namespace

std::u16string AnsiCodePage::ToWide(std::string_view ansi) {
    std::u16string wide;
    wide.reserve(ansi.size());
    {
        BulkAppender<char16_t> out(wide);
        size_t pos = 0;
        while (pos < ansi.size()) {
            const char32_t code = DecodeOne(ansi, pos);
            if (code < 0x10000) {
                out.Put(static_cast<char16_t>(code));
            } else {
                out.Put(static_cast<char16_t>(0xD800 + ((code - 0x10000) >> 10)));
                out.Put(static_cast<char16_t>(0xDC00 + ((code - 0x10000) & 0x3FF)));
            }
        }
    }
    return wide;
}

CString AnsiCodePage::FromWide(std::u16string_view wide) {
    std::string ansi;
    ansi.reserve(wide.size());
    {
        BulkAppender<char> out(ansi);
        for (size_t i = 0; i < wide.size(); ++i) {
            char32_t code = wide[i];
            if (code >= 0xD800 && code <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
                ++i;
            } else if (code >= 0xD800 && code <= 0xDFFF) {
                code = kReplacement;
            }
            AppendUtf8(out, code);
        }
    }
    return CString(std::move(ansi));
}
