#include "presentation/window/HeifThumbnail.h"

#include "framework/views/ThumbnailSource.h"

#include <libheif/heif.h>

#include <cerrno>
#include <memory>
#include <mutex>

#include <unistd.h>

namespace {

// Larger pictures are left as icons: decoding them would take too long and
// too much memory for a thumbnail.
constexpr uint64_t kMaxPixels = 100'000'000;
constexpr int kMaxSide = 32768;

// libheif's reader over a descriptor: pread at a position of our own, never
// past the file's size.
struct FdReader {
    int fd;
    uint64_t size;
    uint64_t position = 0;
};

int64_t GetPosition(void* user) {
    return int64_t(static_cast<FdReader*>(user)->position);
}

int Read(void* data, size_t count, void* user) {
    FdReader& r = *static_cast<FdReader*>(user);
    if (r.position > r.size || count > r.size - r.position)
        return -1;
    size_t done = 0;
    while (done < count) {
        const ssize_t n =
            ::pread(r.fd, static_cast<char*>(data) + done, count - done, off_t(r.position + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return -1;
        done += size_t(n);
    }
    r.position += count;
    return 0;
}

int Seek(int64_t position, void* user) {
    FdReader& r = *static_cast<FdReader*>(user);
    if (position < 0 || uint64_t(position) > r.size)
        return -1;
    r.position = uint64_t(position);
    return 0;
}

heif_reader_grow_status WaitForFileSize(int64_t target, void* user) {
    const FdReader& r = *static_cast<const FdReader*>(user);
    return target >= 0 && uint64_t(target) <= r.size ? heif_reader_grow_status_size_reached
                                                     : heif_reader_grow_status_size_beyond_eof;
}

struct ContextFree {
    void operator()(heif_context* c) const { heif_context_free(c); }
};
struct HandleRelease {
    void operator()(heif_image_handle* h) const { heif_image_handle_release(h); }
};
struct ImageRelease {
    void operator()(heif_image* i) const { heif_image_release(i); }
};
struct OptionsFree {
    void operator()(heif_decoding_options* o) const { heif_decoding_options_free(o); }
};
using Handle = std::unique_ptr<heif_image_handle, HandleRelease>;

bool SizeAllowed(const heif_image_handle* handle) {
    const int w = heif_image_handle_get_width(handle);
    const int h = heif_image_handle_get_height(handle);
    return w > 0 && h > 0 && w <= kMaxSide && h <= kMaxSide &&
           uint64_t(w) * uint64_t(h) <= kMaxPixels;
}

QImage Decode(const heif_image_handle* handle) {
    if (!SizeAllowed(handle))
        return {};
    const bool alpha = heif_image_handle_has_alpha_channel(handle) != 0;
    std::unique_ptr<heif_decoding_options, OptionsFree> options(heif_decoding_options_alloc());
    if (!options)
        return {};
    options->convert_hdr_to_8bit = 1; // ignored by a libheif that predates it
    heif_image* raw = nullptr;
    const heif_error error = heif_decode_image(
        handle, &raw, heif_colorspace_RGB,
        alpha ? heif_chroma_interleaved_RGBA : heif_chroma_interleaved_RGB, options.get());
    std::unique_ptr<heif_image, ImageRelease> image(raw);
    if (error.code != heif_error_Ok || !image)
        return {};
    const int w = heif_image_get_width(image.get(), heif_channel_interleaved);
    const int h = heif_image_get_height(image.get(), heif_channel_interleaved);
    int stride = 0;
    const uint8_t* pixels =
        heif_image_get_plane_readonly(image.get(), heif_channel_interleaved, &stride);
    const int depth = heif_image_get_bits_per_pixel(image.get(), heif_channel_interleaved);
    if (pixels == nullptr || w <= 0 || h <= 0 || depth != (alpha ? 32 : 24) ||
        stride < w * (depth / 8))
        return {};
    // Wraps libheif's buffer, then copies it before the buffer goes.
    const QImage wrapped(pixels, w, h, stride,
                         alpha ? QImage::Format_RGBA8888 : QImage::Format_RGB888);
    return wrapped.copy();
}

// The picture of the primary image for a `box`: its thumbnail when `box` is
// valid and the thumbnail fills it (an empty box wants the primary image
// itself), else the primary image decoded. Not yet fitted.
QImage HeifDecode(int fd, uint64_t fileSize, QSize box, bool* fromThumbnail) {
    static std::once_flag initialised;
    std::call_once(initialised, [] { heif_init(nullptr); });
    if (fromThumbnail)
        *fromThumbnail = false;
    if (fd < 0 || fileSize < 16)
        return {};
    std::unique_ptr<heif_context, ContextFree> context(heif_context_alloc());
    if (!context)
        return {};
    heif_context_set_maximum_image_size_limit(context.get(), kMaxSide);
    FdReader state{fd, fileSize};
    heif_reader reader{};
    reader.reader_api_version = 1;
    reader.get_position = GetPosition;
    reader.read = Read;
    reader.seek = Seek;
    reader.wait_for_file_size = WaitForFileSize;
    if (heif_context_read_from_reader(context.get(), &reader, &state, nullptr).code !=
        heif_error_Ok)
        return {};
    heif_image_handle* primaryRaw = nullptr;
    if (heif_context_get_primary_image_handle(context.get(), &primaryRaw).code != heif_error_Ok)
        return {};
    const Handle primary(primaryRaw);
    heif_item_id thumbnailId = 0;
    if (!box.isEmpty() &&
        heif_image_handle_get_list_of_thumbnail_IDs(primary.get(), &thumbnailId, 1) == 1) {
        heif_image_handle* thumbnailRaw = nullptr;
        if (heif_image_handle_get_thumbnail(primary.get(), thumbnailId, &thumbnailRaw).code ==
            heif_error_Ok) {
            const Handle thumbnail(thumbnailRaw);
            const QSize size(heif_image_handle_get_width(thumbnail.get()),
                             heif_image_handle_get_height(thumbnail.get()));
            if (size.width() >= box.width() || size.height() >= box.height()) {
                const QImage image = Decode(thumbnail.get());
                if (!image.isNull()) {
                    if (fromThumbnail)
                        *fromThumbnail = true;
                    return image;
                }
            }
        }
    }
    return Decode(primary.get());
}

} // namespace

QImage HeifThumbnail(int fd, uint64_t fileSize, int edge) {
    if (edge <= 0)
        return {};
    // Any thumbnail will do for an icon: the smallest box asks for one.
    return FitInto(HeifDecode(fd, fileSize, QSize(1, 1), nullptr), edge);
}

QImage HeifPicture(int fd, uint64_t fileSize, QSize box, bool* fromThumbnail) {
    const QImage image = HeifDecode(fd, fileSize, box, fromThumbnail);
    if (box.isEmpty() || image.isNull() ||
        (image.width() <= box.width() && image.height() <= box.height()))
        return image;
    return image.scaled(box, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}
