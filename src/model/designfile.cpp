// Reading and writing design files. Every count in a file is checked against the bytes that are
// left before anything is allocated, so no input makes the reader read past its data, allocate
// beyond the file's size or loop without end.
#include "model/designfile.h"

#include "model/itemlist.h"
#include "platform/safefile.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <unordered_set>

namespace vlr {

namespace {

constexpr size_t kPointEntrySize = 56;
constexpr size_t kGridEntrySize = 8;
constexpr int32_t kGridAxisX = 1;
constexpr int32_t kGridAxisY = 2;

// ---- byte sources ----

class DesignSource {
public:
    virtual ~DesignSource() = default;
    virtual uint64_t Remaining() const = 0;
    // Reads exactly size bytes; false at the end of the data or on an error.
    virtual bool Read(uint8_t* destination, size_t size) = 0;
    virtual void Skip(uint64_t size) = 0;
    // An input/output error (not the end of the data) happened.
    virtual bool Failed() const = 0;
};

class MemorySource final : public DesignSource {
public:
    explicit MemorySource(std::span<const uint8_t> bytes) : bytes_(bytes) {}
    uint64_t Remaining() const override { return bytes_.size() - position_; }
    bool Read(uint8_t* destination, size_t size) override {
        if (size > Remaining()) {
            position_ = bytes_.size();
            return false;
        }
        std::memcpy(destination, bytes_.data() + position_, size);
        position_ += size;
        return true;
    }
    void Skip(uint64_t size) override { position_ += std::min<uint64_t>(size, Remaining()); }
    bool Failed() const override { return false; }

private:
    std::span<const uint8_t> bytes_;
    size_t position_ = 0;
};

// Reads the file in large blocks: every read of the operating system costs far more than
// copying what it brings, and records are only a few hundred bytes each.
class FileSource final : public DesignSource {
public:
    FileSource(std::FILE* file, uint64_t size) : file_(file), size_(size) {
        // The stream's own buffer is not used: blocks go straight into ours.
        std::setvbuf(file_, nullptr, _IONBF, 0);
        buffer_.resize(static_cast<size_t>(std::min<uint64_t>(size, kBlockSize)));
    }
    ~FileSource() override { std::fclose(file_); }
    uint64_t Remaining() const override { return size_ - position_; }
    bool Read(uint8_t* destination, size_t size) override {
        if (size > Remaining()) {
            Skip(Remaining());
            return false;
        }
        const size_t buffered = std::min(size, end_ - next_);
        std::memcpy(destination, buffer_.data() + next_, buffered);
        next_ += buffered;
        position_ += buffered;
        size_t left = size - buffered;
        if (left == 0) {
            return true;
        }
        // A long tail (a picture) goes straight to its place; a short one through the buffer.
        if (left >= buffer_.size()) {
            const size_t got = std::fread(destination + buffered, 1, left, file_);
            position_ += got;
            if (got != left) {
                return Ended();
            }
            return true;
        }
        if (!Refill() || end_ < left) {
            return Ended();
        }
        std::memcpy(destination + buffered, buffer_.data(), left);
        next_ = left;
        position_ += left;
        return true;
    }
    void Skip(uint64_t size) override {
        size = std::min<uint64_t>(size, Remaining());
        const uint64_t buffered = std::min<uint64_t>(size, end_ - next_);
        next_ += static_cast<size_t>(buffered);
        position_ += buffered;
        if (size == buffered) {
            return;
        }
        if (std::fseek(file_, static_cast<long>(size - buffered), SEEK_CUR) != 0) {
            failed_ = true;
            size_ = position_;
            return;
        }
        position_ += size - buffered;
    }
    bool Failed() const override { return failed_ || std::ferror(file_) != 0; }

private:
    static constexpr size_t kBlockSize = size_t{4} << 20;

    // The next block, as far as the file goes; false when nothing more could be read.
    bool Refill() {
        next_ = 0;
        end_ = std::fread(buffer_.data(), 1,
                          static_cast<size_t>(std::min<uint64_t>(buffer_.size(), Remaining())), file_);
        return end_ > 0 || Ended();
    }
    // The file ended early (it shrank while being read) or could not be read.
    bool Ended() {
        size_ = position_;
        next_ = end_ = 0;
        return false;
    }

    std::FILE* file_;
    uint64_t size_;
    uint64_t position_ = 0;
    std::vector<uint8_t> buffer_;
    size_t next_ = 0, end_ = 0; // the unread bytes of the buffer
    bool failed_ = false;
};

// ---- tails ----

// Reads a tail of size > 0 bytes. A tail longer than what is left is the end of the file inside
// the tail: it is not applied and the rest of the file is consumed, so the next body read ends
// the reading.
bool TakeTail(DesignSource& source, int64_t size, std::vector<uint8_t>& out) {
    if (static_cast<uint64_t>(size) > source.Remaining()) {
        source.Skip(source.Remaining());
        return false;
    }
    out.resize(static_cast<size_t>(size));
    if (!source.Read(out.data(), out.size())) {
        out.clear();
        return false;
    }
    return true;
}

// Skips a tail of size bytes (nothing for size <= 0), or the rest of the file when it is longer.
void SkipTail(DesignSource& source, int64_t size) {
    if (size > 0) {
        source.Skip(static_cast<uint64_t>(size));
    }
}

// A text tail of size bytes: below the limit it becomes the record's text (an odd last byte is
// dropped), read straight into the text. A tail at or above the limit is skipped as a whole: its
// bytes are text, never records.
void ReadTextTail(DesignSource& source, ItemRecord* record, int64_t size) {
    if (size <= 0) {
        return;
    }
    if (size >= kTextTailLimit || static_cast<uint64_t>(size) > source.Remaining()) {
        SkipTail(source, size);
        return;
    }
    std::u16string text(static_cast<size_t>(size / 2), u'\0');
    if (source.Read(reinterpret_cast<uint8_t*>(text.data()), text.size() * sizeof(char16_t))) {
        SkipTail(source, size % 2);
        record->wideText = std::move(text);
    }
}

int32_t LoadInt32(const uint8_t* bytes) {
    int32_t value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

void StoreInt32(uint8_t* bytes, int32_t value) {
    std::memcpy(bytes, &value, sizeof value);
}

PointNode DecodePoint(const uint8_t* entry) {
    PointNode node;
    int32_t* values[] = {&node.x,           &node.y,           &node.savedX,      &node.savedY,
                         &node.ctrl1X,      &node.ctrl1Y,      &node.ctrl2X,      &node.ctrl2Y,
                         &node.savedCtrl1X, &node.savedCtrl1Y, &node.savedCtrl2X, &node.savedCtrl2Y};
    for (size_t i = 0; i < std::size(values); ++i) {
        *values[i] = LoadInt32(entry + 4 * i);
    }
    node.flag1 = entry[48];
    node.flag2 = entry[49];
    return node;
}

void EncodePoint(const PointNode& node, uint8_t* entry) {
    const int32_t values[] = {node.x,           node.y,           node.savedX,      node.savedY,
                              node.ctrl1X,      node.ctrl1Y,      node.ctrl2X,      node.ctrl2Y,
                              node.savedCtrl1X, node.savedCtrl1Y, node.savedCtrl2X, node.savedCtrl2Y};
    for (size_t i = 0; i < std::size(values); ++i) {
        StoreInt32(entry + 4 * i, values[i]);
    }
    entry[48] = node.flag1;
    entry[49] = node.flag2;
    std::memset(entry + 50, 0, 6);
}

// ---- the header's values in memory ----

// Replaces a header field in memory and remembers the stored bytes, which the writer puts back
// while the field still holds the replacement.
template <typename Field, typename Value> void ReplaceField(ItemRecord* header, Field& field, Value value) {
    const auto* body = reinterpret_cast<const uint8_t*>(static_cast<const ItemBody*>(header));
    const auto* fieldBytes = reinterpret_cast<const uint8_t*>(&field);
    ReplacedField replaced;
    replaced.offset = static_cast<uint16_t>(fieldBytes - body);
    replaced.size = static_cast<uint8_t>(sizeof(Field));
    std::memcpy(replaced.stored.data(), fieldBytes, sizeof(Field));
    field = value;
    std::memcpy(replaced.replacement.data(), fieldBytes, sizeof(Field));
    if (replaced.stored != replaced.replacement) {
        header->replacedFields.push_back(replaced);
    }
}

// Later code divides by the zoom and the scales, multiplies page sizes into pixel counts and
// loops over rows and columns; values it cannot use are replaced in memory.
void SanitiseHeader(ItemRecord* header, const ScreenResolution& screen) {
    double zoom = header->zoom;
    if (!std::isfinite(zoom) || zoom < 0.01 || zoom > 3.0) {
        ReplaceField(header, header->zoom, 1.0);
    }
    // The unit's own scale; an unknown unit counts as inches.
    double unitScaleX = header->units == 1 ? 1.0 : header->units == 2 ? screen.pxPerMmX() : screen.dpiX();
    double unitScaleY = header->units == 1 ? 1.0 : header->units == 2 ? screen.pxPerMmY() : screen.dpiY();
    if (!(std::isfinite(double(header->pxPerUnitX)) && header->pxPerUnitX > 0.0)) {
        ReplaceField(header, header->pxPerUnitX, unitScaleX);
    }
    if (!(std::isfinite(double(header->pxPerUnitY)) && header->pxPerUnitY > 0.0)) {
        ReplaceField(header, header->pxPerUnitY, unitScaleY);
    }

    constexpr double kLargestPageValue = 1.0e6; // units; a kilometre of millimetres
    DoubleField* pageValues[] = {
        &header->canvasLeft, &header->canvasTop,   &header->canvasWidth, &header->canvasHeight,
        &header->paperWidth, &header->paperHeight, &header->cardWidth,   &header->cardHeight,
        &header->leftMargin, &header->topMargin,   &header->rightMargin, &header->bottomMargin,
        &header->rowGap,     &header->columnGap,   &header->spare1,      &header->spare2};
    for (DoubleField* field : pageValues) {
        double value = *field;
        if (!std::isfinite(value)) {
            ReplaceField(header, *field, 0.0);
        } else if (std::fabs(value) > kLargestPageValue) {
            ReplaceField(header, *field, std::copysign(kLargestPageValue, value));
        }
    }
    for (DoubleField* field : {&header->gridDensityX, &header->gridDensityY}) {
        double value = *field;
        if (!std::isfinite(value) || value <= 0.0) {
            ReplaceField(header, *field, 1.0);
        }
    }

    constexpr int32_t kLargestCount = 1000; // rows or columns of cards on one sheet
    for (Int32Field* field : {&header->rows, &header->columns}) {
        int32_t value = *field;
        if (value < 0) {
            ReplaceField(header, *field, 0);
        } else if (value > kLargestCount) {
            ReplaceField(header, *field, kLargestCount);
        }
    }
    if (header->lightDirection >= 4) {
        ReplaceField(header, header->lightDirection, uint8_t{0});
    }
}

// ---- reading ----

ReadResult ReadRecords(DesignSource& source, ItemList& target, Prompt& prompt) {
    const ScreenResolution screen = target.screen;
    ItemList working(screen);
    bool checkFirst = true;
    bool acceptedInvalid = false;
    bool cancelled = false;
    int64_t headerVersion = 0;
    bool keepHistory = false;
    int64_t counter = 0;
    std::vector<uint8_t> tail;
    uint8_t body[kBodySize];

    auto renumber = [&](ItemRecord* record) {
        if (!keepHistory) {
            record->historyState = 0;
            record->replaces = 0;
            record->serial = SaturateInt32(++counter);
        }
    };

    while (source.Remaining() >= kBodySize) {
        if (!source.Read(body, kBodySize)) {
            break;
        }
        auto* record = new ItemRecord();
        LinkAtTail(working, record);
        std::memcpy(static_cast<ItemBody*>(record), body, kBodySize);

        // Only the first record is tested.
        if (checkFirst) {
            checkFirst = false;
            if (record->magic != kMagic) {
                if (prompt.Ask(PromptIcon::Warning, kInvalidFileQuestion, PromptButtons::YesNo) !=
                    PromptAnswer::Yes) {
                    cancelled = true;
                    break;
                }
                acceptedInvalid = true;
            }
        }
        // Selection and continuation are states of a running editor. A record saved while a
        // spline was being continued would otherwise never be drawn or selected again.
        record->selected = 0;
        record->suspended = 0;

        const int32_t kind = record->kind;
        if (kind == ItemKind::Header) {
            headerVersion = record->fileVersion;
            keepHistory = record->historySaved != 0;
            ReadTextTail(source, record, record->tailLength);
            switch (record->units) {
            case 1:
                record->pxPerUnitX = 1.0;
                record->pxPerUnitY = 1.0;
                break;
            case 2:
                record->pxPerUnitX = screen.pxPerMmX();
                record->pxPerUnitY = screen.pxPerMmY();
                break;
            case 3:
                record->pxPerUnitX = screen.dpiX();
                record->pxPerUnitY = screen.dpiY();
                break;
            default:
                break;
            }
            SanitiseHeader(record, screen);
            HeaderGeometry(record);
        } else if (kind == ItemKind::Text) {
            Recalculate(record, screen);
            ReadTextTail(source, record, record->tailLength);
            // Two tails of 8-bit data from older writers; nothing reads them.
            SkipTail(source, record->legacyTailA);
            SkipTail(source, record->legacyTailB);
            renumber(record);
        } else if (IsShapeKind(kind)) {
            Recalculate(record, screen);
            if (record->tailLength > 0 && TakeTail(source, record->tailLength, tail)) {
                record->pointList.clear();
                size_t count = tail.size() / kPointEntrySize;
                record->pointList.reserve(count);
                for (size_t i = 0; i < count; ++i) {
                    record->pointList.push_back(DecodePoint(tail.data() + i * kPointEntrySize));
                }
            }
            renumber(record);
        } else if (kind == ItemKind::Gridlines) {
            Recalculate(record, screen);
            if (record->tailLength > 0 && TakeTail(source, record->tailLength, tail)) {
                size_t count = tail.size() / kGridEntrySize;
                record->gridX.reserve(record->gridX.size() + count);
                record->gridY.reserve(record->gridY.size() + count);
                for (size_t i = 0; i < count; ++i) {
                    const uint8_t* entry = tail.data() + i * kGridEntrySize;
                    int32_t axis = LoadInt32(entry);
                    GridNode node;
                    node.position = LoadInt32(entry + 4);
                    if (axis == kGridAxisX) {
                        record->gridX.push_back(node);
                    } else if (axis == kGridAxisY) {
                        record->gridY.push_back(node);
                    }
                }
            }
            renumber(record);
        } else if (kind == ItemKind::PictureData) {
            if (record->tailLength > 0 && !TakeTail(source, record->tailLength, record->pictureStream)) {
                record->pictureStream.clear();
            }
            // In a file, the picture data's spanLength counts the bytes of its file name.
            ReadTextTail(source, record, record->spanLength);
        } else {
            Recalculate(record, screen);
            renumber(record);
        }
    }

    if (source.Failed()) {
        return {ReadStatus::IoError, std::strerror(EIO)};
    }
    if (cancelled) {
        return {ReadStatus::Declined, {}};
    }
    if (!FindRecord(working, ItemKind::Header)) {
        return {ReadStatus::NotADesign, "the file holds no document header"};
    }
    SetModified(working, acceptedInvalid);
    FreeList(target);
    target.first = working.first;
    target.last = working.last;
    working.first = nullptr;
    working.last = nullptr;

    if (headerVersion > kFileVersion) {
        prompt.Ask(PromptIcon::Warning, kNewerVersionWarning, PromptButtons::Ok);
    }
    return {};
}

// ---- writing ----

// Where the written bytes go: small parts are encoded straight into room the sink hands out,
// large blocks (pictures) are copied as they are.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual bool Write(const void* data, size_t size) = 0;
    // Room for size bytes (at most kRoomLimit) that the caller fills completely; null on an error.
    virtual uint8_t* Room(size_t size) = 0;
    static constexpr size_t kRoomLimit = SafeFileWriter::kRoomLimit;
};

class MemorySink final : public ByteSink {
public:
    explicit MemorySink(std::vector<uint8_t>& out) : out_(out) {}
    bool Write(const void* data, size_t size) override {
        const auto* bytes = static_cast<const uint8_t*>(data);
        out_.insert(out_.end(), bytes, bytes + size);
        return true;
    }
    uint8_t* Room(size_t size) override {
        const size_t start = out_.size();
        out_.resize(start + size);
        return out_.data() + start;
    }

private:
    std::vector<uint8_t>& out_;
};

class FileSink final : public ByteSink {
public:
    explicit FileSink(SafeFileWriter& file) : file_(file) {}
    bool Write(const void* data, size_t size) override { return file_.Write(data, size); }
    uint8_t* Room(size_t size) override { return file_.Room(size); }

private:
    SafeFileWriter& file_;
};

// Which records the live design consists of. The header is found by its kind everywhere, so a
// record of that kind is always written, whatever its class says: a file without it could not
// be read back.
bool IsWritten(const ItemRecord* record, const std::unordered_set<int32_t>& livePictures) {
    if (record->kind == ItemKind::Header) {
        return true;
    }
    switch (record->recordClass) {
    case RecordClass::Item:
        if (record->deleted != 0 || record->kind == ItemKind::Deletion) {
            return false;
        }
        // Empty texts are dropped.
        return record->kind != ItemKind::Text || LineCount(record) != 0;
    case RecordClass::PictureData:
        return livePictures.count(record->pictureId) != 0;
    default:
        return true;
    }
}

// The byte count of a text tail, or -1 when the text is too long to be read back.
int64_t TextTailSize(const ItemRecord* record) {
    int64_t size = 2 * static_cast<int64_t>(TextLength(record));
    return size < kTextTailLimit ? size : -1;
}

bool FitsTail(size_t size) {
    return size <= static_cast<size_t>(std::numeric_limits<int32_t>::max());
}

bool WriteText(ByteSink& sink, const ItemRecord* record, int64_t size) {
    return size == 0 || sink.Write(record->wideText->data(), static_cast<size_t>(size));
}

bool WriteBody(ByteSink& sink, const ItemRecord* record) {
    uint8_t* bytes = sink.Room(kBodySize);
    if (bytes == nullptr) {
        return false;
    }
    std::memcpy(bytes, static_cast<const ItemBody*>(record), kBodySize);
    // A record being continued is stored finished, so it is visible when the file is read.
    bytes[offsetof(ItemBody, suspended)] = 0;
    for (const ReplacedField& replaced : record->replacedFields) {
        if (replaced.offset + replaced.size <= kBodySize &&
            std::memcmp(bytes + replaced.offset, replaced.replacement.data(), replaced.size) == 0) {
            std::memcpy(bytes + replaced.offset, replaced.stored.data(), replaced.size);
        }
    }
    return true;
}

// The point entries in list order, encoded in the sink's room a batch at a time.
bool WritePoints(ByteSink& sink, const std::vector<PointNode>& points) {
    constexpr size_t kBatch = ByteSink::kRoomLimit / kPointEntrySize;
    for (size_t first = 0; first < points.size(); first += kBatch) {
        const size_t count = std::min(kBatch, points.size() - first);
        uint8_t* entries = sink.Room(count * kPointEntrySize);
        if (entries == nullptr) {
            return false;
        }
        for (size_t i = 0; i < count; ++i) {
            EncodePoint(points[first + i], entries + i * kPointEntrySize);
        }
    }
    return true;
}

bool WriteRecords(ItemList& list, ByteSink& sink) {
    if (!FindRecord(list, ItemKind::Header)) {
        return false;
    }
    std::unordered_set<int32_t> livePictures;
    for (ItemRecord* record : list) {
        if (record->kind == ItemKind::Header) {
            record->historySaved = 0;
        }
        if (record->kind == ItemKind::Clip && record->deleted == 0) {
            livePictures.insert(record->pictureId);
        }
    }

    std::vector<uint8_t> tail;
    for (ItemRecord* record : list) {
        record->magic = kMagic;
        if (record->kind == ItemKind::Header) {
            record->fileVersion = kFileVersion;
        }
        if (!IsWritten(record, livePictures)) {
            continue;
        }
        const int32_t kind = record->kind;
        if (kind == ItemKind::Header || kind == ItemKind::Text) {
            int64_t size = TextTailSize(record);
            if (size < 0) {
                return false;
            }
            record->tailLength = static_cast<int32_t>(size);
            if (kind == ItemKind::Text) {
                record->legacyTailA = 0;
                record->legacyTailB = 0;
            }
            if (!WriteBody(sink, record) || !WriteText(sink, record, size)) {
                return false;
            }
        } else if (IsShapeKind(kind)) {
            size_t size = record->pointList.size() * kPointEntrySize;
            if (!FitsTail(size)) {
                return false;
            }
            record->tailLength = static_cast<int32_t>(size);
            if (!WriteBody(sink, record) || !WritePoints(sink, record->pointList)) {
                return false;
            }
        } else if (kind == ItemKind::Gridlines) {
            tail.clear();
            auto append = [&tail](const std::vector<GridNode>& nodes, int32_t axis) {
                for (const GridNode& node : nodes) {
                    if (node.removed == 0) {
                        uint8_t entry[kGridEntrySize];
                        StoreInt32(entry, axis);
                        StoreInt32(entry + 4, node.position);
                        tail.insert(tail.end(), entry, entry + kGridEntrySize);
                    }
                }
            };
            append(record->gridX, kGridAxisX);
            append(record->gridY, kGridAxisY);
            if (!FitsTail(tail.size())) {
                return false;
            }
            record->tailLength = static_cast<int32_t>(tail.size());
            if (!WriteBody(sink, record) || !sink.Write(tail.data(), tail.size())) {
                return false;
            }
        } else if (kind == ItemKind::PictureData) {
            int64_t nameSize = TextTailSize(record);
            if (nameSize < 0 || !FitsTail(record->pictureStream.size())) {
                return false;
            }
            record->tailLength = static_cast<int32_t>(record->pictureStream.size());
            record->spanLength = static_cast<int32_t>(nameSize);
            if (!WriteBody(sink, record) ||
                !sink.Write(record->pictureStream.data(), record->pictureStream.size()) ||
                !WriteText(sink, record, nameSize)) {
                return false;
            }
        } else if (!WriteBody(sink, record)) {
            return false;
        }
    }
    return true;
}

} // namespace

ReadResult ReadDesign(std::string_view path, ItemList& target, Prompt& prompt) {
    const std::string trimmed(Trim(path));
    if (trimmed.empty()) {
        return {ReadStatus::NoFile, "no file name"};
    }
    std::error_code error;
    auto status = std::filesystem::status(trimmed, error);
    if (!std::filesystem::exists(status)) {
        return {ReadStatus::NoFile, std::strerror(ENOENT)};
    }
    // Only regular files: a device or a pipe has no end to read up to.
    if (!std::filesystem::is_regular_file(status)) {
        return {ReadStatus::IoError, "not a regular file"};
    }
    uint64_t size = std::filesystem::file_size(trimmed, error);
    if (error) {
        return {ReadStatus::IoError, error.message()};
    }
    // Read-only access, so files the user may not change still open.
    std::FILE* file = std::fopen(trimmed.c_str(), "rb");
    if (!file) {
        return {ReadStatus::IoError, std::strerror(errno)};
    }
    FileSource source(file, size);
    return ReadRecords(source, target, prompt);
}

ReadResult ReadDesignFromMemory(std::span<const uint8_t> bytes, ItemList& target, Prompt& prompt) {
    MemorySource source(bytes);
    return ReadRecords(source, target, prompt);
}

bool WriteDesign(std::string_view path, ItemList& list, std::string* error) {
    auto fail = [error](std::string reason) {
        if (error) {
            *error = std::move(reason);
        }
        return false;
    };
    if (!FindRecord(list, ItemKind::Header)) {
        return fail("the design has no document header");
    }
    SafeFileWriter file{std::string(path)};
    if (!file.Open()) {
        return fail(file.error());
    }
    FileSink sink(file);
    if (!WriteRecords(list, sink)) {
        std::string reason =
            file.error().empty() ? "a text of the design is too long to be saved" : file.error();
        file.Discard();
        return fail(reason);
    }
    if (!file.Commit()) {
        return fail(file.error());
    }
    SetModified(list, false);
    return true;
}

bool WriteDesignToMemory(ItemList& list, std::vector<uint8_t>& out) {
    out.clear();
    MemorySink sink(out);
    if (!WriteRecords(list, sink)) {
        return false;
    }
    SetModified(list, false);
    return true;
}

} // namespace vlr
