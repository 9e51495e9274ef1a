#include "xom/ImageOut.h"

#include "xom/FileErrors.h"

#include <QFileDevice>

#include <algorithm>
#include <cstring>

#if defined(__linux__)
#include <fcntl.h>
#endif

namespace xom {

namespace {

constexpr std::size_t RunBufferSize = std::size_t{1} << 20;

} // namespace

ImageOut::ImageOut(char* const image, const qint64 size) noexcept
    : m_image(image)
    , m_size(size)
{
}

ImageOut::ImageOut(QFileDevice& file, const qint64 size)
    : m_size(size)
    , m_file(&file)
{
    if (!file.resize(size))
        throw StreamWriteError();
}

void ImageOut::put(const qint64 at, const QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_image) {
        std::memcpy(m_image + at, bytes.data(), static_cast<std::size_t>(bytes.size()));
        return;
    }
    const std::lock_guard lock(m_writing);
    if (!m_file->seek(at) || m_file->write(bytes.data(), bytes.size()) != bytes.size())
        throw StreamWriteError();
#if defined(SYNC_FILE_RANGE_WRITE)
    // The bytes start on their way to the disk now, while the rest is made,
    // so that the final sync before the file replaces the old one has less
    // left to wait for. Only a hint: that sync is what makes the save safe.
    static_cast<void>(::sync_file_range(m_file->handle(), at, bytes.size(), SYNC_FILE_RANGE_WRITE));
#endif
}

ImageOut::Run::Run(ImageOut& out, const qint64 at)
    : m_out(out)
    , m_at(at)
{
    if (out.m_image) {
        // Straight into the image, which has room for every run.
        m_next = out.m_image + at;
        m_limit = out.m_image + out.m_size;
        return;
    }
    m_buffer.assign(RunBufferSize, 0);
    m_next = m_buffer.data();
    m_limit = m_next + m_buffer.size();
}

void ImageOut::Run::makeRoom(const std::size_t bytes)
{
    // An image has no more room to give: the caller asked for the most its
    // next piece could take, and the exact measure of the file fits what it
    // takes.
    if (m_out.m_image)
        return;
    send();
    // A single piece larger than the buffer (a very long string) gets a
    // buffer of its own size.
    if (bytes > m_buffer.size()) {
        m_buffer.assign(bytes, 0);
        m_next = m_buffer.data();
        m_limit = m_next + m_buffer.size();
    }
}

void ImageOut::Run::send()
{
    const auto used = static_cast<std::size_t>(m_next - m_buffer.data());
    m_out.put(m_at, QByteArrayView(m_buffer.data(), static_cast<qsizetype>(used)));
    m_at += static_cast<qint64>(used);
    std::memset(m_buffer.data(), 0, used);
    m_next = m_buffer.data();
}

void ImageOut::Run::finish()
{
    if (!m_out.m_image)
        send();
}

ImageOut::Block::Block(ImageOut& out, const qint64 at, const qint64 size, QByteArray spare)
    : m_out(out)
    , m_at(at)
    , m_size(size)
{
    if (out.m_image) {
        m_data = out.m_image + at;
        return;
    }
    if (spare.capacity() >= size) {
        m_buffer = std::move(spare);
        m_buffer.resize(static_cast<qsizetype>(size));
    } else {
        m_buffer = QByteArray(static_cast<qsizetype>(size), Qt::Uninitialized);
    }
    m_data = m_buffer.data();
}

void ImageOut::Block::finish()
{
    if (m_out.m_image)
        return;
    // A run's worth at a time, as runs send theirs.
    const QByteArrayView bytes = QByteArrayView(m_buffer).first(static_cast<qsizetype>(m_size));
    for (qsizetype sent = 0; sent < bytes.size(); sent += static_cast<qsizetype>(RunBufferSize)) {
        const qsizetype piece = std::min(bytes.size() - sent, static_cast<qsizetype>(RunBufferSize));
        m_out.put(m_at + sent, bytes.sliced(sent, piece));
    }
}

} // namespace xom
