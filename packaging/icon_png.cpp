// wrenset-icon-png SIZE OUTPUT: writes the program's own 32 x 32 icon (the XPM in res/) as an
// RGBA PNG of SIZE x SIZE pixels for the desktop's icon theme. SIZE is 32 divided or multiplied
// by a whole number, so every output pixel covers whole source pixels: smaller sizes average
// squares of source pixels, larger ones repeat each source pixel, and the picture stays crisp.
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <zlib.h>

#include "res/resource.h"
#include "res/resources.h"

namespace {

struct Rgba {
    std::uint8_t r = 0, g = 0, b = 0, a = 0;
};

struct Image {
    int width = 0;
    int height = 0;
    std::vector<Rgba> pixels;  // row by row, top row first
};

bool ParseHexColour(const std::string& text, Rgba& colour) {
    if (text.size() != 7 || text[0] != '#') {
        return false;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text.c_str() + 1, &end, 16);
    if (*end != '\0') {
        return false;
    }
    colour = {static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
              static_cast<std::uint8_t>(value), 255};
    return true;
}

// Reads the XPM 3 form the resources hold: a "width height colours chars-per-pixel" header,
// one "chars c value" row per colour (value #RRGGBB or None), then one string per pixel row.
bool DecodeXpm(const char* const* xpm, Image& image, std::string& problem) {
    int colours = 0;
    int charsPerPixel = 0;
    if (std::sscanf(xpm[0], "%d %d %d %d", &image.width, &image.height, &colours, &charsPerPixel) != 4 ||
        image.width <= 0 || image.height <= 0 || colours <= 0 || charsPerPixel <= 0) {
        problem = "bad XPM header";
        return false;
    }
    std::vector<std::pair<std::string, Rgba>> palette;
    for (int i = 0; i < colours; ++i) {
        const std::string row = xpm[1 + i];
        const std::string key = row.substr(0, static_cast<std::size_t>(charsPerPixel));
        const std::size_t visual = row.find(" c ", static_cast<std::size_t>(charsPerPixel));
        if (key.size() != static_cast<std::size_t>(charsPerPixel) || visual == std::string::npos) {
            problem = "bad XPM colour row '" + row + "'";
            return false;
        }
        const std::string value = row.substr(visual + 3);
        Rgba colour;
        if (value != "None" && !ParseHexColour(value, colour)) {
            problem = "unsupported XPM colour '" + value + "'";
            return false;
        }
        palette.emplace_back(key, colour);
    }
    for (int y = 0; y < image.height; ++y) {
        const std::string row = xpm[1 + colours + y];
        if (row.size() != static_cast<std::size_t>(image.width * charsPerPixel)) {
            problem = "XPM row " + std::to_string(y) + " has the wrong length";
            return false;
        }
        for (int x = 0; x < image.width; ++x) {
            const std::string key = row.substr(static_cast<std::size_t>(x * charsPerPixel),
                                               static_cast<std::size_t>(charsPerPixel));
            bool found = false;
            for (const auto& [paletteKey, colour] : palette) {
                if (paletteKey == key) {
                    image.pixels.push_back(colour);
                    found = true;
                    break;
                }
            }
            if (!found) {
                problem = "XPM pixel '" + key + "' has no colour";
                return false;
            }
        }
    }
    return true;
}

// Each output pixel is the average of a factor x factor square of source pixels, weighted by
// their opacity so that transparent pixels lend no colour to the edge.
Image Shrink(const Image& source, int factor) {
    Image out{source.width / factor, source.height / factor, {}};
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            unsigned r = 0, g = 0, b = 0, a = 0;
            for (int dy = 0; dy < factor; ++dy) {
                for (int dx = 0; dx < factor; ++dx) {
                    const Rgba& p = source.pixels[static_cast<std::size_t>((y * factor + dy) * source.width +
                                                                          x * factor + dx)];
                    r += p.r * p.a;
                    g += p.g * p.a;
                    b += p.b * p.a;
                    a += p.a;
                }
            }
            const unsigned count = static_cast<unsigned>(factor * factor);
            Rgba pixel;
            if (a > 0) {
                pixel = {static_cast<std::uint8_t>((r + a / 2) / a), static_cast<std::uint8_t>((g + a / 2) / a),
                         static_cast<std::uint8_t>((b + a / 2) / a),
                         static_cast<std::uint8_t>((a + count / 2) / count)};
            }
            out.pixels.push_back(pixel);
        }
    }
    return out;
}

Image Enlarge(const Image& source, int factor) {
    Image out{source.width * factor, source.height * factor, {}};
    for (int y = 0; y < out.height; ++y) {
        for (int x = 0; x < out.width; ++x) {
            out.pixels.push_back(source.pixels[static_cast<std::size_t>((y / factor) * source.width + x / factor)]);
        }
    }
    return out;
}

void PutBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

void PutChunk(std::vector<std::uint8_t>& png, const char type[5], const std::vector<std::uint8_t>& data) {
    PutBigEndian32(png, static_cast<std::uint32_t>(data.size()));
    std::vector<std::uint8_t> typed(type, type + 4);
    typed.insert(typed.end(), data.begin(), data.end());
    png.insert(png.end(), typed.begin(), typed.end());
    PutBigEndian32(png, static_cast<std::uint32_t>(crc32(0, typed.data(), static_cast<uInt>(typed.size()))));
}

std::vector<std::uint8_t> EncodePng(const Image& image) {
    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian32(header, static_cast<std::uint32_t>(image.width));
    PutBigEndian32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    PutChunk(png, "IHDR", header);
    std::vector<std::uint8_t> raw;
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);  // filter type None for every row
        for (int x = 0; x < image.width; ++x) {
            const Rgba& p = image.pixels[static_cast<std::size_t>(y * image.width + x)];
            raw.insert(raw.end(), {p.r, p.g, p.b, p.a});
        }
    }
    uLongf packedLength = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> packed(packedLength);
    if (compress2(packed.data(), &packedLength, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK) {
        return {};
    }
    packed.resize(packedLength);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", {});
    return png;
}

int Fail(const std::string& problem) {
    std::fprintf(stderr, "wrenset-icon-png: %s\n", problem.c_str());
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        return Fail("usage: wrenset-icon-png SIZE OUTPUT.png");
    }
    const int size = std::atoi(argv[1]);
    Image icon;
    std::string problem;
    if (!DecodeXpm(FindIconXpm(IDR_MAINFRAME), icon, problem)) {
        return Fail(problem);
    }
    Image scaled;
    if (size >= icon.width && size % icon.width == 0 && icon.width == icon.height) {
        scaled = Enlarge(icon, size / icon.width);
    } else if (size > 0 && icon.width % size == 0 && icon.width == icon.height) {
        scaled = Shrink(icon, icon.width / size);
    } else {
        return Fail(std::string("size ") + argv[1] + " is not the icon's size divided or multiplied by a whole number");
    }
    const std::vector<std::uint8_t> png = EncodePng(scaled);
    if (png.empty()) {
        return Fail("compressing the image failed");
    }
    std::FILE* file = std::fopen(argv[2], "wb");
    if (file == nullptr) {
        return Fail(std::string("cannot write ") + argv[2] + ": " + std::strerror(errno));
    }
    const bool written = std::fwrite(png.data(), 1, png.size(), file) == png.size();
    if (std::fclose(file) != 0 || !written) {
        return Fail(std::string("cannot write ") + argv[2]);
    }
    return 0;
}
