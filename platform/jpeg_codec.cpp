#include "platform/jpeg_codec.h"

#include "platform/bitmap.h"
#include "platform/line_file.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>
// jerror.h after jpeglib.h: it needs the types declared there.
#include <jerror.h>

namespace pimoko {
namespace {

// libjpeg reports errors by calling error_exit, which must not return: we jump back
// into the decoder's frame instead of letting it end the process.
struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void OnError(j_common_ptr cinfo)
{
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, err->message);
    std::longjmp(err->jump, 1);
}

// Silent, but warnings are counted: data that ends early only warns.
void OnMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        ++cinfo->err->num_warnings;
}

// A progressive picture keeps every coefficient in memory until its last scan; past this
// the decoder stops with an error instead of taking what a hostile header asks for. A
// progressive 4:2:0 picture of the largest size we take still fits.
constexpr long kDecoderMemory = 256L << 20;

// A picture is drawn anew for every scan it has, so a file of thousands of tiny scans can
// keep the decoder busy for minutes. Real encoders write about ten.
constexpr int kMostScans = 256;

void OnProgress(j_common_ptr cinfo)
{
    if (!cinfo->is_decompressor)
        return;
    const auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMostScans)
        ERREXIT1(cinfo, JERR_BAD_SCAN_SCRIPT, d->input_scan_number);
}

bool IsMemoryError(int code)
{
    return code == JERR_OUT_OF_MEMORY || code == JERR_NO_BACKING_STORE || code == JERR_TFILE_CREATE
        || code == JERR_WIDTH_OVERFLOW;
}

} // namespace

JpegResult DecodeJpeg(const QByteArray& data)
{
    JpegResult result;
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    err.message[0] = '\0';
    // Locals changed after setjmp must be volatile to survive the jump.
    QImage* volatile image = new QImage();
    jpeg_progress_mgr progress;
    std::memset(&progress, 0, sizeof progress);
    progress.progress_monitor = OnProgress;
    if (setjmp(err.jump)) {
        result.status = IsMemoryError(err.pub.msg_code) ? JpegStatus::TooLarge : JpegStatus::Broken;
        result.message = QString::fromLocal8Bit(err.message);
        jpeg_destroy_decompress(&cinfo);
        delete image;
        return result;
    }
    jpeg_create_decompress(&cinfo);
    cinfo.mem->max_memory_to_use = kDecoderMemory;
    cinfo.progress = &progress;
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > kMaxPictureSide || cinfo.image_height > kMaxPictureSide) {
        jpeg_destroy_decompress(&cinfo);
        delete image;
        result.status = JpegStatus::TooLarge;
        return result;
    }
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    *image
        = NewBitmap24(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height));
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = image->scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    // A file cut inside its image data only warns (premature end), it does not fail.
    const bool truncated = err.pub.num_warnings > 0;
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    result.image = *image;
    delete image;
    result.status = truncated ? JpegStatus::Truncated : JpegStatus::Ok;
    return result;
}

JpegResult ReadJpeg(const QString& path)
{
    QByteArray data;
    // A JPEG of the largest picture we take is far below 256 MB.
    if (!ReadFileBytes(path, &data, qint64(256) << 20)) {
        JpegResult r;
        r.status = JpegStatus::Missing;
        return r;
    }
    return DecodeJpeg(data);
}

QByteArray EncodeJpeg(const QImage& source, int quality)
{
    JpegLayout layout;
    layout.quality = quality;
    return EncodeJpeg(source, layout);
}

QByteArray EncodeJpeg(const QImage& source, const JpegLayout& layout)
{
    const QImage image = ToBitmap24(source);
    jpeg_compress_struct cinfo;
    ErrorManager err;
    std::memset(&cinfo, 0, sizeof cinfo);
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    // out lives in memory (its address goes to libjpeg), so it survives the jump.
    unsigned char* out = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(out);
        return QByteArray();
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &out, &size);
    cinfo.image_width = static_cast<JDIMENSION>(image.width());
    cinfo.image_height = static_cast<JDIMENSION>(image.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, qBound(1, layout.quality, 100), TRUE);
    if (layout.grey)
        jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    else if (layout.fullChroma)
        for (int c = 0; c < cinfo.num_components; ++c)
            cinfo.comp_info[c].h_samp_factor = cinfo.comp_info[c].v_samp_factor = 1;
    if (layout.progressive)
        jpeg_simple_progression(&cinfo);
    cinfo.restart_in_rows = qMax(0, layout.restartRows);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row
            = const_cast<JSAMPROW>(image.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray result(reinterpret_cast<const char*>(out), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    std::free(out);
    return result;
}

QByteArray RepackJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return QByteArray();
    jpeg_decompress_struct in;
    jpeg_compress_struct out;
    ErrorManager err;
    std::memset(&in, 0, sizeof in);
    std::memset(&out, 0, sizeof out);
    in.err = jpeg_std_error(&err.pub);
    out.err = in.err;
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    jpeg_progress_mgr progress {};
    progress.progress_monitor = OnProgress;
    unsigned char* bytes = nullptr;
    unsigned long size = 0;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&out);
        jpeg_destroy_decompress(&in);
        std::free(bytes);
        return QByteArray();
    }
    jpeg_create_decompress(&in);
    jpeg_create_compress(&out);
    in.mem->max_memory_to_use = kDecoderMemory;
    in.progress = &progress;
    jpeg_mem_src(&in, reinterpret_cast<const unsigned char*>(data.constData()),
        static_cast<unsigned long>(data.size()));
    jpeg_read_header(&in, TRUE);
    jvirt_barray_ptr* coefficients = jpeg_read_coefficients(&in);
    // A picture that ends early only warns; its missing blocks would be written as grey.
    if (in.err->num_warnings > 0)
        ERREXIT(reinterpret_cast<j_common_ptr>(&in), JERR_INPUT_EOF);
    jpeg_copy_critical_parameters(&in, &out);
    out.optimize_coding = TRUE;
    jpeg_simple_progression(&out);
    jpeg_mem_dest(&out, &bytes, &size);
    jpeg_write_coefficients(&out, coefficients);
    jpeg_finish_compress(&out);
    jpeg_finish_decompress(&in);
    QByteArray result(reinterpret_cast<const char*>(bytes), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&out);
    jpeg_destroy_decompress(&in);
    std::free(bytes);
    return result;
}

} // namespace pimoko
