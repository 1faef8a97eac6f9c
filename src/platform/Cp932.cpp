#include "Cp932.h"

#include <QVarLengthArray>
#include <cerrno>
#include <iconv.h>

namespace {
// One converter each way, opened once in each thread that converts (an
// iconv descriptor holds the state of its conversion).
class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Converter()
    {
        if (cd_ != reinterpret_cast<iconv_t>(-1))
            iconv_close(cd_);
    }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts, replacing what cannot be converted; `skip` is how many input
// bytes an unconvertible unit takes.
QByteArray convert(iconv_t cd, QByteArrayView in, int skip, const QByteArray& replacement)
{
    QByteArray out;
    if (cd == reinterpret_cast<iconv_t>(-1) || in.isEmpty())
        return out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    // On the stack for a field of a line; not filled, iconv writes it.
    QVarLengthArray<char, 1024> buffer(in.size() * 4 + 16);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = size_t(in.size());
    while (srcLeft > 0) {
        char* dst = buffer.data();
        size_t dstLeft = buffer.size();
        const size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buffer.data(), qsizetype(dst - buffer.data()));
        if (rc == size_t(-1)) {
            if (errno == E2BIG)
                continue;
            // EILSEQ or EINVAL (a character cut at the end).
            out.append(replacement);
            const size_t step = std::min(size_t(skip), srcLeft);
            src += step;
            srcLeft -= step;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
    return out;
}
}

QString DecodeCp932(QByteArrayView bytes)
{
    thread_local Converter decoder("UTF-8", "CP932");
    // Plain ASCII needs no conversion (digits, letters, blanks).
    bool ascii = true;
    for (char c : bytes)
        ascii = ascii && (static_cast<unsigned char>(c) < 0x80);
    if (ascii)
        return QString::fromLatin1(bytes.data(), bytes.size());
    return QString::fromUtf8(convert(decoder.get(), bytes, 1, QByteArray("\xEF\xBF\xBD")));
}

QByteArray EncodeCp932(const QString& text)
{
    thread_local Converter encoder("CP932", "UTF-8");
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    // Unconvertible characters are replaced one UTF-8 sequence at a time.
    for (qsizetype i = 0; i < utf8.size();) {
        qsizetype j = i + 1;
        while (j < utf8.size() && (static_cast<unsigned char>(utf8[j]) & 0xC0) == 0x80)
            ++j;
        const QByteArray converted = convert(encoder.get(), QByteArrayView(utf8.constData() + i, j - i), int(j - i), "?");
        out.append(converted);
        i = j;
    }
    return out;
}
