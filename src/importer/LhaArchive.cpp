#include "LhaArchive.h"

#include "Cp932.h"
#include "RuntimeError.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cstring>
#include <lhasa.h>
#include <memory>

namespace {
const QString kSource = QStringLiteral("LhaArchive");

// The smallest header of any level: the library reads this much first.
constexpr qsizetype kMinHeaderLength = 22;

[[noreturn]] void refuse(const QString& archiveName, const QString& problem)
{
    throw RuntimeError(ErrorNumber::BadFileFormat, kSource, QStringLiteral("%1 %2").arg(archiveName, problem));
}

// The archive bytes as the library's input stream. `pos` counts the bytes
// handed out; once a header has been read it is where that header ends.
struct MemoryStream {
    QByteArrayView bytes;
    qsizetype pos = 0;

    static int read(void* handle, void* buffer, size_t length)
    {
        auto* self = static_cast<MemoryStream*>(handle);
        const qsizetype n = std::min<qsizetype>(qsizetype(length), self->bytes.size() - self->pos);
        if (n > 0)
            std::memcpy(buffer, self->bytes.data() + self->pos, size_t(n));
        self->pos += n;
        return int(n);
    }
    static int skip(void* handle, size_t length)
    {
        auto* self = static_cast<MemoryStream*>(handle);
        const bool inside = qsizetype(length) <= self->bytes.size() - self->pos;
        self->pos = inside ? self->pos + qsizetype(length) : self->bytes.size();
        return inside ? 1 : 0;
    }
};
const LHAInputStreamType kMemoryStreamType = {&MemoryStream::read, &MemoryStream::skip, nullptr};

struct StreamFree {
    void operator()(LHAInputStream* stream) const { lha_input_stream_free(stream); }
};
struct ReaderFree {
    void operator()(LHAReader* reader) const { lha_reader_free(reader); }
};

// How long the header starting at `at` says it is (0 when it cannot tell).
qsizetype declaredHeaderLength(QByteArrayView archive, qsizetype at)
{
    if (archive.size() - at < kMinHeaderLength)
        return 0;
    const auto byte = [&](qsizetype i) { return qsizetype(uchar(archive[at + i])); };
    switch (byte(20)) {  // the header level
    case 0:
    case 1:
        return byte(0) + 2;
    case 2:
        return byte(0) | byte(1) << 8;
    default:
        return 0;
    }
}

// The library stops at the end marker (a zero byte), at the end of the
// bytes, or at a header it cannot read; only the last is a fault.
void checkEnd(QByteArrayView archive, const QString& archiveName, qsizetype at, int headersRead)
{
    if (at >= archive.size() || archive[at] == 0)
        return;
    // No header read: an archive whose first header is broken shows the
    // method ("-lh5-") at its place; anything else is no archive at all.
    const bool header = archive.size() - at >= 7 && archive[at + 2] == '-' && archive[at + 6] == '-';
    if (headersRead == 0 && !header)
        refuse(archiveName, QStringLiteral("は LHA 書庫ではありません（書庫のヘッダが見つかりません）。"));
    const qsizetype length = declaredHeaderLength(archive, at);
    if (archive.size() - at < kMinHeaderLength || at + length > archive.size())
        refuse(archiveName, QStringLiteral("は途中で切れています（%1 バイト目からのヘッダが最後までありません）。").arg(at));
    refuse(archiveName, QStringLiteral("は壊れています（%1 バイト目からのヘッダが読めません）。").arg(at));
}

struct DecoderFree {
    void operator()(LHADecoder* decoder) const { lha_decoder_free(decoder); }
};

// Hands the member's compressed bytes to the decoder straight from memory.
size_t feed(void* buffer, size_t length, void* remaining)
{
    auto* left = static_cast<QByteArrayView*>(remaining);
    const size_t n = std::min(length, size_t(left->size()));
    if (n > 0)
        std::memcpy(buffer, left->data(), n);
    *left = left->sliced(qsizetype(n));
    return n;
}

// The member decompressed, its length and CRC checked against its header.
QByteArray decode(const LHAFileHeader* header, QByteArrayView compressed, const QString& archiveName)
{
    const QString name = DecodeCp932(header->filename);
    LHADecoderType* type = lha_decoder_for_name(const_cast<char*>(header->compress_method));
    if (!type)
        refuse(archiveName, QStringLiteral("の「%1」は読めない圧縮方式（%2）です。").arg(name, QString::fromLatin1(header->compress_method)));
    if (qint64(header->length) > MaxLhaMemberSize)
        refuse(archiveName, QStringLiteral("の「%1」は大きすぎます（%2 バイト）。").arg(name).arg(qint64(header->length)));
    const std::unique_ptr<LHADecoder, DecoderFree> decoder(lha_decoder_new(type, &feed, &compressed, header->length));
    if (!decoder)
        throw RuntimeError(ErrorNumber::OutOfMemory, kSource, QStringLiteral("メモリが不足しています。"));
    QByteArray data(qsizetype(header->length), Qt::Uninitialized);
    size_t got = 0;
    while (got < header->length) {
        const size_t n = lha_decoder_read(decoder.get(), reinterpret_cast<uint8_t*>(data.data()) + got, header->length - got);
        if (n == 0)
            break;
        got += n;
    }
    if (got != header->length)
        refuse(archiveName, QStringLiteral("は壊れています（「%1」を展開すると %2 バイトのはずが %3 バイトです）。")
                                .arg(name).arg(qint64(header->length)).arg(qint64(got)));
    if (lha_decoder_get_crc(decoder.get()) != header->crc)
        refuse(archiveName, QStringLiteral("は壊れています（「%1」の CRC が合いません）。").arg(name));
    return data;
}
}

LhaMember ReadLhaMember(const QString& archivePath, const QString& memberPattern)
{
    QFile file(archivePath);
    if (!file.open(QIODevice::ReadOnly))
        throw RuntimeError(ErrorNumber::FileNotFound, kSource,
                           QStringLiteral("ファイルを開けません。(%1: %2)").arg(archivePath, file.errorString()));
    const QByteArray archive = file.readAll();
    return ReadLhaMember(archive, QFileInfo(archivePath).fileName(), memberPattern);
}

LhaMember ReadLhaMember(QByteArrayView archive, const QString& archiveName, const QString& memberPattern)
{
    MemoryStream source{archive};
    const std::unique_ptr<LHAInputStream, StreamFree> stream(lha_input_stream_new(&kMemoryStreamType, &source));
    const std::unique_ptr<LHAReader, ReaderFree> reader(stream ? lha_reader_new(stream.get()) : nullptr);
    if (!reader)
        throw RuntimeError(ErrorNumber::OutOfMemory, kSource, QStringLiteral("メモリが不足しています。"));
    lha_reader_set_dir_policy(reader.get(), LHA_READER_DIR_PLAIN);  // folders once, where they stand
    const QRegularExpression wanted(QRegularExpression::wildcardToRegularExpression(memberPattern),
                                    QRegularExpression::CaseInsensitiveOption);

    LhaMember found;
    int headersRead = 0;
    qsizetype nextHeader = 0;
    while (LHAFileHeader* header = lha_reader_next_file(reader.get())) {
        ++headersRead;
        nextHeader = source.pos + qsizetype(header->compressed_length);
        const QString name = header->filename ? DecodeCp932(header->filename) : QString();
        if (nextHeader > archive.size())
            refuse(archiveName, QStringLiteral("は途中で切れています（「%1」が最後までありません）。").arg(name));
        if (name.isEmpty() || !wanted.match(name).hasMatch())
            continue;
        if (!found.name.isEmpty())
            refuse(archiveName, QStringLiteral("の中に %1 のファイルが複数あります（「%2」と「%3」）。").arg(memberPattern, found.name, name));
        found.name = name;
        found.data = decode(header, archive.sliced(source.pos, qsizetype(header->compressed_length)), archiveName);
    }
    checkEnd(archive, archiveName, nextHeader, headersRead);
    if (found.name.isEmpty())
        refuse(archiveName, QStringLiteral("の中に %1 のファイルがありません。").arg(memberPattern));
    return found;
}
