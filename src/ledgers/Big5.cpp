#include "ledgers/Big5.h"

#include <cerrno>
#include <iconv.h>

namespace {

// One iconv conversion descriptor for the length of one call.
class Converter
{
public:
    Converter(const char *to, const char *from)
        : m_cd(iconv_open(to, from))
    { }
    ~Converter()
    {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter &) = delete;
    Converter &operator=(const Converter &) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }

    enum class Stop { Done, BadInput };

    // Converts as much of in as it can, appending to out. Stops at the first byte sequence
    // that cannot be converted; inPos then points at it.
    Stop convert(const QByteArray &in, qsizetype &inPos, QByteArray &out)
    {
        char buffer[1024];
        while (inPos < in.size()) {
            char *src = const_cast<char *>(in.constData()) + inPos;
            size_t srcLeft = static_cast<size_t>(in.size() - inPos);
            char *dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(m_cd, &src, &srcLeft, &dst, &dstLeft);
            const int err = errno;
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            inPos = static_cast<qsizetype>(src - in.constData());
            if (rc != static_cast<size_t>(-1))
                continue;
            if (err == E2BIG)
                continue;
            // EILSEQ, or EINVAL for a sequence cut off at the end of the input.
            return Stop::BadInput;
        }
        return Stop::Done;
    }

    // Back to the initial shift state after a bad sequence.
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

private:
    iconv_t m_cd;
};

} // namespace

std::optional<QByteArray> toBig5(const QString &text)
{
    Converter conv("CP950", "UTF-8");
    if (!conv.valid())
        return std::nullopt;
    const QByteArray utf8 = text.toUtf8();
    // A lone surrogate has no UTF-8 form; toUtf8 would quietly replace it.
    if (QString::fromUtf8(utf8) != text)
        return std::nullopt;
    QByteArray out;
    qsizetype pos = 0;
    if (conv.convert(utf8, pos, out) != Converter::Stop::Done)
        return std::nullopt;
    // Big5 has a few characters that map to the same code; refuse anything that would not
    // come back unchanged.
    if (fromBig5(out) != text)
        return std::nullopt;
    return out;
}

QString fromBig5(const QByteArray &bytes)
{
    Converter conv("UTF-8", "CP950");
    if (!conv.valid())
        return QString::fromLatin1(bytes);
    QByteArray utf8;
    qsizetype pos = 0;
    while (conv.convert(bytes, pos, utf8) == Converter::Stop::BadInput) {
        utf8.append("\xEF\xBF\xBD"); // U+FFFD
        ++pos;
        conv.reset();
    }
    return QString::fromUtf8(utf8);
}
