// The program's own PDF writer for pages of placed pictures.
#include "output/sheetpdf.h"

#include "platform/safefile.h"

#include <QDateTime>
#include <QFile>
#include <QtConcurrent/QtConcurrentRun>

#include <zlib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <deque>
#include <string>

namespace vlr {

namespace {

// zlib's fastest level: at its default level a page of a hundred megapixels takes many seconds,
// and a little more file is the better bargain.
constexpr int kDeflateLevel = 1;
// Each picture is compressed in bands of about this many bytes of pixels, the bands on every
// core at once; a band's own compressor starts without the earlier band's bytes, which costs
// next to nothing at this size.
constexpr size_t kBandBytes = size_t{1} << 20;

// A number as PDF writes it: no exponent, no trailing zeros.
std::string Number(double value) {
    if (!std::isfinite(value)) {
        value = 0.0;
    }
    char text[64];
    std::snprintf(text, sizeof text, "%.9f", value);
    std::string number = text;
    number.erase(number.find_last_not_of('0') + 1);
    if (number.back() == '.') {
        number.pop_back();
    }
    return number == "-0" ? "0" : number;
}

// A text string of the document information as UTF-16 in hexadecimal, so that any character of
// a title is kept.
std::string TextString(const QString& text) {
    std::string hex = "<FEFF";
    char unit[8];
    for (QChar c : text) {
        std::snprintf(unit, sizeof unit, "%04X", unsigned(c.unicode()));
        hex += unit;
    }
    return hex + ">";
}

// One band of a picture's rows compressed on its own: raw deflate data that ends on a byte
// boundary (the last band ends the stream), with the checksum and length of the bytes it holds,
// so that the bands join into one zlib stream.
struct DeflatedBand {
    QByteArray bytes;
    uLong adler = 1;
    uLong length = 0;
    bool ok = false;
};

// Each row goes as PNG's "Up" prediction: a filter byte, then each byte of red, green and blue
// less the byte above it. Pictures drawn at a printer's resolution change slowly from row to row,
// so the rows become small numbers that compress to less than half, and faster.
constexpr uint8_t kUpFilter = 2;

void PredictRow(const QImage& image, int y, uint8_t* out) {
    *out++ = kUpFilter;
    const auto* row = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    const auto* above = y > 0 ? reinterpret_cast<const QRgb*>(image.constScanLine(y - 1)) : nullptr;
    const int width = image.width();
    for (int x = 0; x < width; ++x, out += 3) {
        const QRgb pixel = row[x], up = above ? above[x] : 0;
        out[0] = uint8_t(qRed(pixel) - qRed(up));
        out[1] = uint8_t(qGreen(pixel) - qGreen(up));
        out[2] = uint8_t(qBlue(pixel) - qBlue(up));
    }
}

// A compressor and its buffers for each thread, kept from band to band: making them anew would
// cost a fresh megabyte of memory each time, which the system must clear first.
class BandCompressor {
public:
    BandCompressor() {
        // Runs of equal bytes only: predicted rows are mostly runs and small numbers, and the
        // search for longer matches costs more than it gains there.
        ready_ = deflateInit2(&stream_, kDeflateLevel, Z_DEFLATED, -MAX_WBITS, 8, Z_RLE) == Z_OK;
    }
    ~BandCompressor() {
        if (ready_) {
            deflateEnd(&stream_);
        }
    }
    BandCompressor(const BandCompressor&) = delete;
    BandCompressor& operator=(const BandCompressor&) = delete;

    DeflatedBand Compress(const QImage& image, int first, int rows, bool last) {
        DeflatedBand band;
        if (!ready_ || deflateReset(&stream_) != Z_OK) {
            return band;
        }
        const size_t rowBytes = 1 + size_t(image.width()) * 3;
        row_.resize(rowBytes);
        out_.resize(deflateBound(&stream_, uLong(rowBytes) * uLong(rows)) + 64);
        stream_.next_out = out_.data();
        stream_.avail_out = uInt(out_.size());
        bool ok = true;
        for (int y = first; y < first + rows && ok; ++y) {
            PredictRow(image, y, row_.data());
            band.adler = adler32(band.adler, row_.data(), uInt(rowBytes));
            stream_.next_in = row_.data();
            stream_.avail_in = uInt(rowBytes);
            const int flush = y + 1 < first + rows ? Z_NO_FLUSH : last ? Z_FINISH : Z_SYNC_FLUSH;
            const int status = deflate(&stream_, flush);
            ok = stream_.avail_in == 0 && (flush == Z_FINISH ? status == Z_STREAM_END : status == Z_OK);
        }
        band.length = uLong(rowBytes) * uLong(rows);
        band.bytes = QByteArray(reinterpret_cast<const char*>(out_.data()),
                                qsizetype(out_.size() - stream_.avail_out));
        band.ok = ok;
        return band;
    }

private:
    z_stream stream_{};
    bool ready_ = false;
    std::vector<uint8_t> row_, out_;
};

DeflatedBand DeflateBand(const QImage& image, int first, int rows, bool last) {
    thread_local BandCompressor compressor;
    return compressor.Compress(image, first, rows, last);
}

// The file being written, counting its bytes for the cross-reference table.
class PdfFile {
public:
    explicit PdfFile(const QString& path) : file_(QFile::encodeName(path).toStdString()) {}

    bool Open() { return file_.Open(); }
    bool Write(const void* data, size_t size) {
        offset_ += size;
        return file_.Write(data, size);
    }
    bool Write(const std::string& text) { return Write(text.data(), text.size()); }
    // Starts object number (from 1).
    bool BeginObject(int number) {
        if (objectOffsets_.size() < size_t(number)) {
            objectOffsets_.resize(size_t(number), 0);
        }
        objectOffsets_[size_t(number) - 1] = offset_;
        return Write(std::to_string(number) + " 0 obj\n");
    }
    bool Finish(int root, int info) {
        const uint64_t table = offset_;
        std::string text = "xref\n0 " + std::to_string(objectOffsets_.size() + 1) + "\n0000000000 65535 f \n";
        char entry[32];
        for (uint64_t at : objectOffsets_) {
            std::snprintf(entry, sizeof entry, "%010llu 00000 n \n", static_cast<unsigned long long>(at));
            text += entry;
        }
        text += "trailer\n<< /Size " + std::to_string(objectOffsets_.size() + 1) + " /Root " +
                std::to_string(root) + " 0 R /Info " + std::to_string(info) + " 0 R >>\nstartxref\n" +
                std::to_string(table) + "\n%%EOF\n";
        return Write(text) && file_.Commit();
    }
    void Discard() { file_.Discard(); }
    const std::string& error() const { return file_.error(); }

private:
    SafeFileWriter file_;
    uint64_t offset_ = 0;
    std::vector<uint64_t> objectOffsets_;
};

// A picture's pixels as one zlib stream: bands of rows compressed on the thread pool, written in
// order as they are done, their checksums joined.
class OrderedDeflate {
public:
    explicit OrderedDeflate(PdfFile& file) : file_(file) {
        // The zlib header of the fastest level.
        const unsigned char header[] = {0x78, 0x01};
        ok_ = file_.Write(header, sizeof header);
        length_ = sizeof header;
    }
    // Compresses rows first ... first + rows - 1 of image (each predicted from the row above it,
    // which must be there unless first is 0); image must stay as it is until they are written.
    void Add(const QImage* image, int first, int rows, bool last) {
        pending_.push_back(
            QtConcurrent::run([image, first, rows, last] { return DeflateBand(*image, first, rows, last); }));
        ++added_;
    }
    // Writes the bands added so far but the last keep ones (which may still be compressing).
    void WriteAllBut(int64_t keep) { WriteUntil(added_ - keep); }
    // Writes, in order, the first count bands added.
    void WriteUntil(int64_t count) {
        for (; written_ < count; ++written_) {
            const DeflatedBand band = pending_.front().result();
            pending_.pop_front();
            ok_ = ok_ && band.ok && file_.Write(band.bytes.constData(), size_t(band.bytes.size()));
            adler_ = adler32_combine(adler_, band.adler, z_off_t(band.length));
            length_ += uint64_t(band.bytes.size());
        }
    }
    // Writes the rest and the checksum; false when anything failed. The stream's length in bytes.
    bool Finish(uint64_t& length) {
        WriteUntil(added_);
        const unsigned char trailer[] = {
            static_cast<unsigned char>(adler_ >> 24), static_cast<unsigned char>(adler_ >> 16),
            static_cast<unsigned char>(adler_ >> 8), static_cast<unsigned char>(adler_)};
        length = length_ + sizeof trailer;
        return ok_ && file_.Write(trailer, sizeof trailer);
    }
    // Waits for what is still compressing: the bands' pictures may go only then.
    ~OrderedDeflate() {
        for (QFuture<DeflatedBand>& band : pending_) {
            band.waitForFinished();
        }
    }
    OrderedDeflate(const OrderedDeflate&) = delete;
    OrderedDeflate& operator=(const OrderedDeflate&) = delete;

private:
    PdfFile& file_;
    std::deque<QFuture<DeflatedBand>> pending_;
    int64_t added_ = 0, written_ = 0;
    uLong adler_ = 1;
    uint64_t length_ = 0;
    bool ok_ = true;
};

// Rows of a picture that go to one compressor.
int RowsPerBand(int width) {
    return int(std::max<size_t>(kBandBytes / (1 + size_t(width) * 3), 1));
}

// Bands in flight at once beyond those being written: enough to keep every core busy.
constexpr int64_t kBandsAhead = 16;

bool WritePixels(PdfFile& file, const QImage& image, uint64_t& length) {
    OrderedDeflate deflate(file);
    const int bandRows = RowsPerBand(image.width());
    for (int first = 0; first < image.height(); first += bandRows) {
        const int rows = std::min(bandRows, image.height() - first);
        deflate.Add(&image, first, rows, first + rows == image.height());
        deflate.WriteAllBut(kBandsAhead);
    }
    return deflate.Finish(length);
}

// Device pixels to points, y upwards from the paper's bottom edge; then the correction; then each
// picture at each of its places.
std::string PageContent(const PdfPage& page, const std::vector<PdfPicture>& pictures) {
    std::string content = "q\n" + Number(72.0 / page.dpiX) + " 0 0 " + Number(-72.0 / page.dpiY) + " 0 " +
                          Number(page.paperPoints.height()) + " cm\n";
    const QTransform& c = page.correction;
    if (!c.isIdentity()) {
        content += Number(c.m11()) + " " + Number(c.m12()) + " " + Number(c.m21()) + " " + Number(c.m22()) +
                   " " + Number(c.dx()) + " " + Number(c.dy()) + " cm\n";
    }
    for (size_t i = 0; i < pictures.size(); ++i) {
        const QSize size = pictures[i].image.size();
        const std::string width = std::to_string(size.width()), height = std::to_string(size.height());
        for (const QPoint& place : pictures[i].places) {
            // The picture's first row at the top.
            content += "q 1 0 0 1 " + std::to_string(place.x()) + " " + std::to_string(place.y()) + " cm " +
                       width + " 0 0 -" + height + " 0 " + height + " cm /Im" + std::to_string(i + 1) +
                       " Do Q\n";
        }
    }
    return content + "Q\n";
}

} // namespace

PdfWriteResult WritePicturePdf(const QString& path, const PdfPage& page,
                               const std::vector<PdfPicture>& given) {
    // Pictures that show nothing are left out; the rows are read as 32-bit pixels.
    std::vector<PdfPicture> pictures;
    for (const PdfPicture& picture : given) {
        if (!picture.image.isNull() && !picture.places.empty()) {
            pictures.push_back(picture);
            if (picture.image.depth() != 32 || picture.image.hasAlphaChannel()) {
                pictures.back().image = picture.image.convertToFormat(QImage::Format_RGB32);
            }
        }
    }
    PdfFile file(path);
    if (!file.Open()) {
        return {PdfWriteStatus::CannotCreate, QString::fromStdString(file.error())};
    }
    constexpr int kCatalog = 1, kPages = 2, kPage = 3, kContent = 4, kInfo = 5, kFirstPicture = 6;
    auto pictureObject = [](size_t index) { return kFirstPicture + 2 * int(index); };

    std::string resources;
    for (size_t i = 0; i < pictures.size(); ++i) {
        resources += " /Im" + std::to_string(i + 1) + " " + std::to_string(pictureObject(i)) + " 0 R";
    }
    const std::string content = PageContent(page, pictures);
    const QString created = QDateTime::currentDateTimeUtc().toString("yyyyMMddHHmmss");
    bool ok = file.Write(std::string("%PDF-1.4\n%\xE2\xE3\xCF\xD3\n")) && file.BeginObject(kCatalog) &&
              file.Write("<< /Type /Catalog /Pages " + std::to_string(kPages) + " 0 R >>\nendobj\n") &&
              file.BeginObject(kPages) &&
              file.Write("<< /Type /Pages /Kids [" + std::to_string(kPage) + " 0 R] /Count 1 >>\nendobj\n") &&
              file.BeginObject(kPage) &&
              file.Write("<< /Type /Page /Parent " + std::to_string(kPages) + " 0 R /MediaBox [0 0 " +
                         Number(page.paperPoints.width()) + " " + Number(page.paperPoints.height()) +
                         "] /Resources << /XObject <<" + resources + " >> >> /Contents " +
                         std::to_string(kContent) + " 0 R >>\nendobj\n") &&
              file.BeginObject(kContent) &&
              file.Write("<< /Length " + std::to_string(content.size()) + " >>\nstream\n" + content +
                         "endstream\nendobj\n") &&
              file.BeginObject(kInfo) &&
              file.Write("<< /Title " + TextString(page.title) + " /Creator " + TextString(page.creator) +
                         " /Producer (Velloran Business Cards) /CreationDate (D:" + created.toStdString() +
                         "Z) >>\nendobj\n");
    for (size_t i = 0; i < pictures.size() && ok; ++i) {
        const PdfPicture& picture = pictures[i];
        const QSize size = picture.image.size();
        const int object = pictureObject(i);
        uint64_t length = 0;
        ok = file.BeginObject(object) &&
             file.Write("<< /Type /XObject /Subtype /Image /Width " + std::to_string(size.width()) +
                        " /Height " + std::to_string(size.height()) +
                        " /BitsPerComponent 8 /ColorSpace /DeviceRGB /Filter /FlateDecode /DecodeParms "
                        "<< /Predictor 12 /Colors 3 /BitsPerComponent 8 /Columns " +
                        std::to_string(size.width()) + " >> /Length " + std::to_string(object + 1) +
                        " 0 R >>\nstream\n") &&
             WritePixels(file, picture.image, length) && file.Write(std::string("\nendstream\nendobj\n")) &&
             file.BeginObject(object + 1) && file.Write(std::to_string(length) + "\nendobj\n");
    }
    if (!ok || !file.Finish(kCatalog, kInfo)) {
        const QString reason = QString::fromStdString(file.error());
        file.Discard();
        return {PdfWriteStatus::WriteFailed,
                reason.isEmpty() ? QString("the picture could not be compressed") : reason};
    }
    return {};
}

} // namespace vlr
