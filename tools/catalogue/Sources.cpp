// Picture file readers over libpng, librsvg with cairo, and libXcursor.
#include "Sources.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <memory>

#include <X11/Xcursor/Xcursor.h>
#include <cairo.h>
#include <librsvg/rsvg.h>
#include <png.h>

namespace catalogue {

namespace {

// Pictures larger than this on a side are no icons; they are not read.
constexpr png_uint_32 kMaxSide = 4096;

std::uint32_t Unpremultiply(std::uint32_t argb) {
    const std::uint32_t a = argb >> 24;
    if (a == 0) return 0;
    if (a == 255) return argb;
    auto c = [&](int shift) { return std::min<std::uint32_t>(255, (((argb >> shift) & 0xFF) * 255 + a / 2) / a); };
    return a << 24 | c(16) << 16 | c(8) << 8 | c(0);
}

std::optional<Rgba> FromSurface(cairo_surface_t* surface) {
    cairo_surface_flush(surface);
    const int w = cairo_image_surface_get_width(surface), h = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* data = cairo_image_surface_get_data(surface);
    if (!data) return std::nullopt;
    Rgba out(w, h);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x) out.At(x, y) = Unpremultiply(row[x]);
    }
    return out;
}

std::optional<Rgba> Render(RsvgHandle* handle, int width, int height) {
    using Surface = std::unique_ptr<cairo_surface_t, decltype(&cairo_surface_destroy)>;
    using Context = std::unique_ptr<cairo_t, decltype(&cairo_destroy)>;
    Surface surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height), &cairo_surface_destroy);
    if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return std::nullopt;
    Context cr(cairo_create(surface.get()), &cairo_destroy);
    RsvgRectangle viewport{0, 0, static_cast<double>(width), static_cast<double>(height)};
    GError* error = nullptr;
    const bool ok = rsvg_handle_render_document(handle, cr.get(), &viewport, &error);
    if (error) g_error_free(error);
    if (!ok) return std::nullopt;
    return FromSurface(surface.get());
}

using Handle = std::unique_ptr<RsvgHandle, decltype(&g_object_unref)>;

Handle Open(const std::filesystem::path& file) {
    GError* error = nullptr;
    RsvgHandle* h = rsvg_handle_new_from_file(file.c_str(), &error);
    if (error) g_error_free(error);
    if (h) rsvg_handle_set_dpi(h, 96);
    return Handle(h, &g_object_unref);
}

}  // namespace

std::optional<Rgba> ReadPng(const std::filesystem::path& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) return std::nullopt;
    if (image.width == 0 || image.height == 0 || image.width > kMaxSide || image.height > kMaxSide) {
        png_image_free(&image);
        return std::nullopt;
    }
    image.format = PNG_FORMAT_BGRA;  // little-endian 0xAARRGGBB words
    Rgba out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.px.data(), 0, nullptr)) {
        png_image_free(&image);
        return std::nullopt;
    }
    return out;
}

std::optional<Rgba> RenderSvg(const std::filesystem::path& file, int width, int height) {
    Handle h = Open(file);
    if (!h) return std::nullopt;
    return Render(h.get(), width, height);
}

std::optional<Rgba> RenderSvgNatural(const std::filesystem::path& file, int maxSide) {
    Handle h = Open(file);
    if (!h) return std::nullopt;
    double w = 0, hgt = 0;
    if (!rsvg_handle_get_intrinsic_size_in_pixels(h.get(), &w, &hgt)) return std::nullopt;
    const int iw = static_cast<int>(std::lround(w)), ih = static_cast<int>(std::lround(hgt));
    if (iw <= 0 || ih <= 0 || iw > maxSide || ih > maxSide) return std::nullopt;
    return Render(h.get(), iw, ih);
}

std::vector<CursorImage> ReadXcursor(const std::filesystem::path& file) {
    std::vector<CursorImage> out;
    XcursorImages* images = XcursorFilenameLoadAllImages(file.c_str());
    if (!images) return out;
    for (int i = 0; i < images->nimage; ++i) {
        const XcursorImage* x = images->images[i];
        if (x->width == 0 || x->height == 0 || x->width > kMaxSide || x->height > kMaxSide) continue;
        CursorImage c;
        c.nominal = static_cast<int>(x->size);
        c.delay = x->delay;
        c.image = Rgba(static_cast<int>(x->width), static_cast<int>(x->height));
        // X cursor pixels are premultiplied ARGB.
        for (std::size_t p = 0; p < c.image.px.size(); ++p) c.image.px[p] = Unpremultiply(x->pixels[p]);
        out.push_back(std::move(c));
    }
    XcursorImagesDestroy(images);
    return out;
}

std::vector<Rgba> CursorFrames(const std::vector<CursorImage>& images) {
    int pick = 0;
    for (const auto& c : images) {
        const bool better = pick == 0 || (c.nominal >= kSide ? pick < kSide || c.nominal < pick : pick < kSide && c.nominal > pick);
        if (better) pick = c.nominal;
    }
    std::vector<Rgba> frames;
    for (const auto& c : images)
        if (c.nominal == pick) frames.push_back(c.image);
    return frames;
}

}  // namespace catalogue
