#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <cstddef>
#include <memory>
#include <mutex>
#include <vector>

class QFileDevice;

namespace xom {

// Where a save's bytes go: an image of the whole file in memory, or the file
// itself. Written to the file, the bytes pass through a buffer of a
// megabyte per run, so that a save to disk never holds a second copy of the
// file, which on a large file costs more to fault in than to fill.
//
// Every byte of the image that nothing writes is zero: the image starts
// zeroed, and the file is sized first (its unwritten ranges read as zeros).
class ImageOut {
public:
    // Writes into image, size bytes, zeroed.
    ImageOut(char* image, qint64 size) noexcept;
    // Writes into file, open for writing and empty, which is given size
    // bytes first. Throws StreamWriteError.
    ImageOut(QFileDevice& file, qint64 size);

    ImageOut(const ImageOut&) = delete;
    ImageOut& operator=(const ImageOut&) = delete;

    // Puts bytes at position at. Safe from several threads at once as long
    // as they write disjoint ranges. Throws StreamWriteError.
    void put(qint64 at, QByteArrayView bytes);

    class Run;
    class Block;

private:
    friend class Run;
    friend class Block;
    char* m_image = nullptr;
    qint64 m_size = 0;
    QFileDevice* m_file = nullptr;
    std::mutex m_writing;
};

// A range of the file written front to back from a start position, by one
// thread: room() gives zeroed room for the next bytes, advance() takes
// them. finish() sends the last of them; a Run left unfinished (an
// exception) sends nothing more.
class ImageOut::Run {
public:
    Run(ImageOut& out, qint64 at);

    Run(const Run&) = delete;
    Run& operator=(const Run&) = delete;

    // At least bytes of zeroed room at the current position; in an image in
    // memory, at most the room left before its end, which the piece
    // written must fit.
    [[nodiscard]] char* room(const std::size_t bytes)
    {
        if (bytes > static_cast<std::size_t>(m_limit - m_next))
            makeRoom(bytes);
        return m_next;
    }
    // The bytes up to end, which lies in the last room given, are written.
    void advance(char* const end) noexcept
    {
        Q_ASSERT(end <= m_limit);
        m_next = end;
    }
    // Throws StreamWriteError.
    void finish();

private:
    void makeRoom(std::size_t bytes);
    void send();

    ImageOut& m_out;
    qint64 m_at = 0; // the file position of the buffer's first byte
    std::vector<char> m_buffer;
    char* m_next = nullptr;
    char* m_limit = nullptr;
};

// A range of the file written in any order, every byte of it: the image
// itself in memory, for a file a buffer of the range's size, not zeroed,
// that finish() sends.
class ImageOut::Block {
public:
    // spare, when it has room for size bytes, is taken as the buffer.
    Block(ImageOut& out, qint64 at, qint64 size, QByteArray spare = {});

    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    // The range's first byte.
    [[nodiscard]] char* data() noexcept { return m_data; }
    // Throws StreamWriteError.
    void finish();

private:
    ImageOut& m_out;
    qint64 m_at = 0;
    qint64 m_size = 0;
    QByteArray m_buffer;
    char* m_data = nullptr;
};

} // namespace xom
