#include "presentation/window/VideoFrame.h"

#include "presentation/window/Orientation.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <memory>

#include <unistd.h>

namespace {

constexpr int kReadBuffer = 64 * 1024;
// Packets of the video read after the seek before giving up: a key frame
// comes every few seconds in any movie a camera or phone writes.
constexpr int kMaxPackets = 1200;
// Frames larger than 8K are refused by the decoder before it allocates them.
constexpr int64_t kMaxPixels = 8192LL * 8192;
constexpr int64_t kSecond = AV_TIME_BASE;

// The file handed over, read with pread from our own position, so that the
// descriptor's offset never matters.
struct Input {
    int fd;
    int64_t size;
    int64_t position;
};

int ReadInput(void* opaque, uint8_t* buffer, int size) {
    Input& input = *static_cast<Input*>(opaque);
    if (size <= 0 || input.position < 0 || input.position >= input.size)
        return AVERROR_EOF;
    const size_t wanted = size_t(std::min<int64_t>(size, input.size - input.position));
    ssize_t n = -1;
    do
        n = ::pread(input.fd, buffer, wanted, off_t(input.position));
    while (n < 0 && errno == EINTR);
    if (n < 0)
        return AVERROR(EIO);
    if (n == 0)
        return AVERROR_EOF;
    input.position += n;
    return int(n);
}

int64_t SeekInput(void* opaque, int64_t offset, int whence) {
    Input& input = *static_cast<Input*>(opaque);
    int64_t base = 0;
    switch (whence & ~AVSEEK_FORCE) {
    case AVSEEK_SIZE:
        return input.size; // fstat's, taken by the worker
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = input.position;
        break;
    case SEEK_END:
        base = input.size;
        break;
    default:
        return AVERROR(EINVAL);
    }
    // Both lie in [0, 2^63): only a sum past either end is refused.
    if (offset < -base || offset > INT64_MAX - base)
        return AVERROR(EINVAL);
    input.position = base + offset;
    return input.position;
}

struct IoRelease {
    void operator()(AVIOContext* io) const {
        av_freep(&io->buffer); // libav may have swapped the one it was given
        avio_context_free(&io);
    }
};
struct FormatRelease {
    void operator()(AVFormatContext* format) const { avformat_close_input(&format); }
};
struct CodecRelease {
    void operator()(AVCodecContext* codec) const { avcodec_free_context(&codec); }
};
struct PacketRelease {
    void operator()(AVPacket* packet) const { av_packet_free(&packet); }
};
struct FrameRelease {
    void operator()(AVFrame* frame) const { av_frame_free(&frame); }
};
struct ScalerRelease {
    void operator()(SwsContext* scaler) const { sws_freeContext(scaler); }
};

using Packet = std::unique_ptr<AVPacket, PacketRelease>;
using Frame = std::unique_ptr<AVFrame, FrameRelease>;

// Where to seek to, in AV_TIME_BASE units: past a fade in from black at the
// start, not near the end.
int64_t FrameTime(const AVFormatContext& format, const AVStream& stream) {
    int64_t duration = format.duration;
    if (stream.duration > 0 && stream.time_base.num > 0 && stream.time_base.den > 0)
        duration = av_rescale_q(stream.duration, stream.time_base, AV_TIME_BASE_Q);
    if (duration == AV_NOPTS_VALUE || duration <= 2 * kSecond)
        return 0;
    return std::max(kSecond, duration / 10);
}

// The next frame the decoder gives from the video's packets: key frames
// only, so from a seek's key frame on the first one serves.
Frame DecodeOne(AVFormatContext& format, AVCodecContext& codec, int stream) {
    const Packet packet(av_packet_alloc());
    Frame frame(av_frame_alloc());
    if (!packet || !frame)
        return {};
    for (int packets = 0; packets < kMaxPackets;) {
        const int read = av_read_frame(&format, packet.get());
        if (read < 0) {
            avcodec_send_packet(&codec, nullptr); // the end: what the decoder holds
            return avcodec_receive_frame(&codec, frame.get()) == 0 ? std::move(frame) : Frame{};
        }
        if (packet->stream_index == stream) {
            ++packets;
            // A damaged packet is skipped: the next key frame may decode.
            avcodec_send_packet(&codec, packet.get());
            if (avcodec_receive_frame(&codec, frame.get()) == 0) {
                av_packet_unref(packet.get());
                return frame;
            }
        }
        av_packet_unref(packet.get());
    }
    return {};
}

// `frame` converted to 32-bit RGB at `size`, with its own colour matrix
// (BT.709 for high-definition video that names none, as players assume).
QImage Scaled(const AVFrame& frame, QSize size) {
    const auto format = AVPixelFormat(frame.format);
    const std::unique_ptr<SwsContext, ScalerRelease> scaler(
        sws_getContext(frame.width, frame.height, format, size.width(), size.height(),
                       AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr, nullptr));
    if (!scaler)
        return {};
    int* inverse = nullptr;
    int* table = nullptr;
    int fullRange = 0;
    int outputRange = 0;
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    if (sws_getColorspaceDetails(scaler.get(), &inverse, &fullRange, &table, &outputRange,
                                 &brightness, &contrast, &saturation) >= 0) {
        int colourspace = frame.colorspace;
        if (colourspace == AVCOL_SPC_UNSPECIFIED)
            colourspace = frame.height >= 720 ? AVCOL_SPC_BT709 : AVCOL_SPC_SMPTE170M;
        // yuvj formats are full range already; others say so in the frame.
        fullRange = fullRange || frame.color_range == AVCOL_RANGE_JPEG;
        sws_setColorspaceDetails(scaler.get(), sws_getCoefficients(colourspace), fullRange, table,
                                 outputRange, brightness, contrast, saturation);
    }
    // AV_PIX_FMT_RGB32 is QImage's Format_RGB32: 0xAARRGGBB in native order.
    QImage image(size, QImage::Format_RGB32);
    if (image.isNull())
        return {};
    uint8_t* const planes[4] = {image.bits(), nullptr, nullptr, nullptr};
    const int strides[4] = {int(image.bytesPerLine()), 0, 0, 0};
    if (sws_scale(scaler.get(), frame.data, frame.linesize, 0, frame.height, planes, strides) !=
        size.height())
        return {};
    return image;
}

// The frame's display size (its pixels' aspect applied) fitted into
// `edge` x `edge`, never enlarged.
QSize FittedSize(const AVFrame& frame, AVRational pixelAspect, int edge) {
    double width = frame.width;
    const double height = frame.height;
    if (pixelAspect.num > 0 && pixelAspect.den > 0)
        width = width * pixelAspect.num / pixelAspect.den;
    const double scale = std::min(1.0, edge / std::max(width, height));
    return QSize(std::clamp(int(std::lround(width * scale)), 1, edge),
                 std::clamp(int(std::lround(height * scale)), 1, edge));
}

} // namespace

QImage VideoFrame(int fd, uint64_t fileSize, int edge, int orientation) {
    if (fd < 0 || fileSize == 0 || fileSize > uint64_t(INT64_MAX) || edge <= 0)
        return {};
    av_log_set_level(AV_LOG_QUIET); // a hostile file's complaints are not for the window's log
    Input input{fd, int64_t(fileSize), 0};
    auto* buffer = static_cast<unsigned char*>(av_malloc(kReadBuffer));
    if (buffer == nullptr)
        return {};
    const std::unique_ptr<AVIOContext, IoRelease> io(
        avio_alloc_context(buffer, kReadBuffer, 0, &input, ReadInput, nullptr, SeekInput));
    if (!io) {
        av_free(buffer);
        return {};
    }
    // Only the QuickTime/MP4 demuxer, named rather than probed for: the
    // window asks for frames of those movies alone, and no other demuxer's
    // faults are within a hostile file's reach.
    const AVInputFormat* quickTime = av_find_input_format("mov");
    AVFormatContext* opened = quickTime != nullptr ? avformat_alloc_context() : nullptr;
    if (opened == nullptr)
        return {};
    opened->pb = io.get();
    opened->flags |= AVFMT_FLAG_CUSTOM_IO;
    if (avformat_open_input(&opened, nullptr, quickTime, nullptr) < 0)
        return {}; // freed by the failed open
    const std::unique_ptr<AVFormatContext, FormatRelease> format(opened);

    const AVCodec* decoder = nullptr;
    const int index = av_find_best_stream(format.get(), AVMEDIA_TYPE_VIDEO, -1, -1, &decoder, 0);
    if (index < 0 || decoder == nullptr)
        return {};
    for (unsigned i = 0; i < format->nb_streams; ++i)
        format->streams[i]->discard = int(i) == index ? AVDISCARD_DEFAULT : AVDISCARD_ALL;
    AVStream& stream = *format->streams[index];

    const std::unique_ptr<AVCodecContext, CodecRelease> codec(avcodec_alloc_context3(decoder));
    if (!codec || avcodec_parameters_to_context(codec.get(), stream.codecpar) < 0)
        return {};
    codec->thread_count = 1; // no threads: the sandbox lets the worker start none for this
    codec->skip_frame = AVDISCARD_NONKEY;
    codec->max_pixels = kMaxPixels;
    if (avcodec_open2(codec.get(), decoder, nullptr) < 0)
        return {};

    Frame frame;
    const int64_t at = FrameTime(*format, stream);
    // The key frame at or after the time: the one before may be far back,
    // at a title on white or black.
    if (at > 0 && av_seek_frame(format.get(), -1, at, 0) >= 0)
        frame = DecodeOne(*format, *codec, index);
    if (!frame && avformat_seek_file(format.get(), -1, INT64_MIN, 0, 0, 0) >= 0) {
        // No key frame there: the movie's first one.
        avcodec_flush_buffers(codec.get());
        frame = DecodeOne(*format, *codec, index);
    }
    if (!frame || frame->width <= 0 || frame->height <= 0 || frame->format < 0)
        return {};
    const AVRational aspect = av_guess_sample_aspect_ratio(format.get(), &stream, frame.get());
    const QImage image = Scaled(*frame, FittedSize(*frame, aspect, edge));
    return image.isNull() ? image : Upright(image, orientation);
}
