// Checks the committed pictures in res/ by their bytes alone: the program
// loads them as Windows resources, and a wrong layout only shows on Windows.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadRes(const std::string& name) {
    std::ifstream in(std::string(BRISOLT_RES_DIR) + "/" + name, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

uint32_t Le16(const Bytes& b, size_t at) {
    return b[at] | b[at + 1] << 8;
}
uint32_t Le32(const Bytes& b, size_t at) {
    return Le16(b, at) | Le16(b, at + 2) << 16;
}
uint32_t Be16(const Bytes& b, size_t at) {
    return b[at] << 8 | b[at + 1];
}

constexpr size_t kDirLen = 6 + 16;
constexpr size_t kDibHeaderLen = 40;

size_t MaskStride(int size) {
    return (size + 31) / 32 * 4;
}
size_t IcoLength(int size) {
    return kDirLen + kDibHeaderLen + 4 * size * size + size * MaskStride(size);
}

// Empty when the file is one size x size 32-bit DIB icon; else the first fault.
std::string IcoProblem(const Bytes& b, int size) {
    if (b.size() < kDirLen + kDibHeaderLen) return "too short for the headers";
    if (Le16(b, 0) != 0) return "reserved field not 0";
    if (Le16(b, 2) != 1) return "type not 1 (icon)";
    if (Le16(b, 4) != 1) return "image count not 1";
    if (b[6] != size || b[7] != size) return "entry size wrong";
    if (Le16(b, 12) != 32) return "entry bit count not 32";
    const uint32_t offset = Le32(b, 18);
    if (offset != kDirLen) return "image not right after the directory";
    if (Le32(b, 14) != b.size() - offset) return "entry byte count does not match the file";
    if (b[offset] == 0x89 && b[offset + 1] == 'P') return "image is PNG, not a DIB";
    if (Le32(b, offset) != kDibHeaderLen) return "DIB header not a BITMAPINFOHEADER";
    if (static_cast<int32_t>(Le32(b, offset + 4)) != size) return "DIB width wrong";
    if (static_cast<int32_t>(Le32(b, offset + 8)) != 2 * size) return "DIB height not twice the width";
    if (Le16(b, offset + 12) != 1) return "DIB planes not 1";
    if (Le16(b, offset + 14) != 32) return "DIB bit count not 32";
    if (Le32(b, offset + 16) != 0) return "DIB compressed";
    if (b.size() != IcoLength(size)) return "length does not fit pixels plus mask";
    return "";
}

// Top-down coordinates; the file stores rows bottom-up.
uint8_t Alpha(const Bytes& b, int size, int x, int y) {
    return b[kDirLen + kDibHeaderLen + 4 * ((size - 1 - y) * size + x) + 3];
}

bool MaskBit(const Bytes& b, int size, int x, int y) {
    const size_t row = kDirLen + kDibHeaderLen + 4 * size * size + (size - 1 - y) * MaskStride(size);
    return b[row + x / 8] & (0x80 >> (x % 8));
}

struct IconCase {
    const char* file;
    int size;
};

const IconCase kIcons[] = {{"app.ico", 48}, {"info.ico", 16}, {"tray.ico", 16}, {"warning.ico", 48}};

TEST(PictureIcons, AreSingle32BitDibImages) {
    for (const IconCase& c : kIcons) {
        SCOPED_TRACE(c.file);
        const Bytes b = ReadRes(c.file);
        ASSERT_FALSE(b.empty()) << "missing";
        EXPECT_EQ(IcoProblem(b, c.size), "");
    }
}

TEST(PictureIcons, TrayIconIsExactly1150Bytes) {
    EXPECT_EQ(ReadRes("tray.ico").size(), 1150u);
    EXPECT_EQ(IcoLength(16), 1150u);
}

// Corners lie outside every shape; the centre is inside every one. The AND
// mask must agree with alpha, or old renderers draw black boxes.
TEST(PictureIcons, TransparentOutsideOpaqueInsideMaskAgrees) {
    for (const IconCase& c : kIcons) {
        SCOPED_TRACE(c.file);
        const Bytes b = ReadRes(c.file);
        ASSERT_EQ(IcoProblem(b, c.size), "");
        const int last = c.size - 1;
        EXPECT_EQ(Alpha(b, c.size, 0, last), 0);
        EXPECT_EQ(Alpha(b, c.size, last, last), 0);
        EXPECT_EQ(Alpha(b, c.size, c.size / 2, c.size / 2), 255);
        int transparent = 0;
        int partial = 0;
        for (int y = 0; y < c.size; ++y) {
            for (int x = 0; x < c.size; ++x) {
                const uint8_t a = Alpha(b, c.size, x, y);
                transparent += a == 0;
                partial += a != 0 && a != 255;
                EXPECT_EQ(MaskBit(b, c.size, x, y), a == 0) << "at " << x << "," << y;
            }
        }
        EXPECT_GT(transparent, 0);
        EXPECT_GT(partial, 0) << "edge not smoothed by alpha";
    }
}

// The checker itself must see each fault, shown on a spoilt copy of tray.ico.
TEST(PictureIcons, CheckerRejectsSpoiltIcons) {
    struct Spoil {
        const char* what;
        size_t at;
        uint8_t value;
        const char* expected;
    };
    const size_t dib = kDirLen;
    const Spoil spoils[] = {
        {"reserved", 0, 1, "reserved"},
        {"cursor type", 2, 2, "type"},
        {"two images", 4, 2, "count"},
        {"entry width", 6, 32, "entry size"},
        {"entry 24-bit", 12, 24, "entry bit count"},
        {"offset", 18, 23, "directory"},
        {"PNG payload", dib, 0x89, "PNG"},
        {"height not doubled", dib + 8, 16, "twice"},
        {"DIB 24-bit", dib + 14, 24, "DIB bit count"},
        {"compressed", dib + 16, 3, "compressed"},
    };
    const Bytes good = ReadRes("tray.ico");
    ASSERT_EQ(IcoProblem(good, 16), "");
    for (const Spoil& s : spoils) {
        SCOPED_TRACE(s.what);
        Bytes b = good;
        b[s.at] = s.value;
        if (s.value == 0x89) b[s.at + 1] = 'P';
        EXPECT_NE(IcoProblem(b, 16).find(s.expected), std::string::npos) << IcoProblem(b, 16);
    }

    // Dropping a byte must trip the byte count or the length, whichever it hits.
    Bytes cut = good;
    cut.pop_back();
    EXPECT_NE(IcoProblem(cut, 16), "");
    Bytes cut_consistent = cut;
    cut_consistent[14] -= 1;  // entry byte count agrees with the short file
    EXPECT_NE(IcoProblem(cut_consistent, 16).find("length"), std::string::npos);
}

struct JpegFrame {
    bool jfif_first = false;
    bool baseline = false;
    uint32_t width = 0;
    uint32_t height = 0;
    int components = 0;
    bool ends_with_eoi = false;
};

// Walks the marker segments up to the scan; empty when it reads cleanly.
std::string WalkJpeg(const Bytes& b, JpegFrame& f) {
    if (b.size() < 4 || b[0] != 0xFF || b[1] != 0xD8) return "no SOI";
    f.ends_with_eoi = b[b.size() - 2] == 0xFF && b[b.size() - 1] == 0xD9;
    size_t at = 2;
    bool first = true;
    bool frame = false;
    for (;;) {
        if (at + 4 > b.size() || b[at] != 0xFF) return "segment does not start with a marker";
        while (at + 1 < b.size() && b[at + 1] == 0xFF) ++at;  // fill bytes
        if (at + 4 > b.size()) return "segment runs past the end";
        const uint8_t marker = b[at + 1];
        const size_t len = Be16(b, at + 2);
        if (len < 2 || at + 2 + len > b.size()) return "segment runs past the end";
        const size_t body = at + 4;
        if (marker == 0xE0 && first && len >= 7 && b[body] == 'J' && b[body + 1] == 'F' && b[body + 2] == 'I' &&
            b[body + 3] == 'F' && b[body + 4] == 0) {
            f.jfif_first = true;
        }
        first = false;
        const bool is_sof = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (is_sof) {
            if (frame) return "two frames";
            frame = true;
            f.baseline = marker == 0xC0 && b[body] == 8;
            f.height = Be16(b, body + 1);
            f.width = Be16(b, body + 3);
            f.components = b[body + 5];
            if (len != 8 + 3 * static_cast<size_t>(f.components)) return "frame length does not fit its components";
        }
        if (marker == 0xDA) return frame ? "" : "scan before any frame";
        at += 2 + len;
    }
}

const char* const kBanners[] = {"banner1.jpg", "banner2.jpg", "banner3.jpg"};

TEST(PictureBanners, AreBaselineJfifColour750x250) {
    for (const char* name : kBanners) {
        SCOPED_TRACE(name);
        const Bytes b = ReadRes(name);
        ASSERT_FALSE(b.empty()) << "missing";
        EXPECT_LT(b.size(), 200u * 1024);
        JpegFrame f;
        ASSERT_EQ(WalkJpeg(b, f), "");
        EXPECT_TRUE(f.jfif_first);
        EXPECT_TRUE(f.baseline);
        EXPECT_EQ(f.width, 750u);
        EXPECT_EQ(f.height, 250u);
        EXPECT_EQ(f.components, 3);
        EXPECT_TRUE(f.ends_with_eoi);
    }
}

size_t FindMarker(const Bytes& b, uint8_t marker) {
    for (size_t i = 2; i + 1 < b.size(); ++i) {
        if (b[i] == 0xFF && b[i + 1] == marker) return i;
    }
    return b.size();
}

// Spoilt copies of banner1.jpg: each fault must show in what the walk reports.
TEST(PictureBanners, WalkSeesSpoiltJpegs) {
    const Bytes good = ReadRes("banner1.jpg");
    const size_t sof = FindMarker(good, 0xC0);
    ASSERT_LT(sof, good.size());
    const size_t app0 = FindMarker(good, 0xE0);
    ASSERT_EQ(app0, 2u);

    {
        Bytes b = good;
        b[sof + 1] = 0xC2;  // progressive
        JpegFrame f;
        ASSERT_EQ(WalkJpeg(b, f), "");
        EXPECT_FALSE(f.baseline);
    }
    {
        Bytes b = good;
        b[sof + 7] = 0x01;  // width 0x01EE = 494
        JpegFrame f;
        ASSERT_EQ(WalkJpeg(b, f), "");
        EXPECT_EQ(f.width, 494u);
    }
    {
        Bytes b = good;
        b[sof + 9] = 1;  // greyscale count, frame length left for three
        JpegFrame f;
        EXPECT_NE(WalkJpeg(b, f).find("components"), std::string::npos);
    }
    {
        Bytes b = good;
        b[app0 + 7] = 'X';  // "JFXF"
        JpegFrame f;
        ASSERT_EQ(WalkJpeg(b, f), "");
        EXPECT_FALSE(f.jfif_first);
    }
    {
        Bytes b = good;
        b[1] = 0xD9;
        JpegFrame f;
        EXPECT_EQ(WalkJpeg(b, f), "no SOI");
    }
    {
        Bytes b(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(sof + 6));  // cut inside the frame
        JpegFrame f;
        EXPECT_EQ(WalkJpeg(b, f), "segment runs past the end");
        EXPECT_FALSE(f.ends_with_eoi);
    }
}

}  // namespace
