// Fuzz target of the position data reader and writer (io/points_file.h).
//
// Input: any bytes, read as the text of a position data file. Checked on
// every input:
// - reading never fails or hangs, the three arrays end equally long and no
//   coordinate is infinite or NaN;
// - the points read, saved and read again come back as often as they went
//   in, and within the seven-digit rounding of the save;
// - a second save and read gives back exactly (bit for bit) the points of
//   the first read: once rounded, a file stays the same however often it is
//   saved;
// - every saved text is n lines of 50 characters plus CR LF.
// The same bytes are also taken as raw doubles (24 bytes a point, so
// infinities, NaN and subnormals occur) and put through save and read.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "io/points_file.h"

namespace {

[[noreturn]] void Finding(const char* what, int index = -1)
{
    std::fprintf(stderr, "FINDING: %s (point %d)\n", what, index);
    std::abort();
}

bool SameBits(double a, double b)
{
    return std::memcmp(&a, &b, sizeof a) == 0;
}

void CheckArrays(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    if (x.GetSize() != y.GetSize() || x.GetSize() != z.GetSize())
        Finding("arrays of different length");
    for (int i = 0; i < x.GetSize(); ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(z[i]))
            Finding("a coordinate that is not finite", i);
}

void CheckLayout(const std::string& text, int n)
{
    if (text.size() != static_cast<size_t>(n) * 52)
        Finding("saved text of the wrong length");
    for (int i = 0; i < n; ++i) {
        const std::string_view line(text.data() + static_cast<size_t>(i) * 52, 52);
        if (line.substr(50) != "\r\n" || line[16] != ' ' || line[33] != ' ')
            Finding("saved line out of shape", i);
    }
}

// Seven significant digits: the saved value lies within half a unit of the
// seventh digit of the original; subnormals lose digits of their own.
bool WithinSaveRounding(double original, double read)
{
    const double bound = 5.0000001e-7 * std::fabs(original) + 5e-324;
    return std::fabs(read - original) <= bound;
}

// Saves and reads x, y, z (finite or not), then does it again; the second
// round trip must reproduce the first one's points exactly.
void CheckRoundTrips(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, bool finiteInput)
{
    const int n = x.GetSize();
    const std::string first = FormatPointsText(x, y, z);
    CheckLayout(first, n);
    CDoubleArray x1, y1, z1;
    ParsePointsText(first, x1, y1, z1);
    CheckArrays(x1, y1, z1);
    if (x1.GetSize() != n)
        Finding("a saved text reads back to another number of points");
    if (finiteInput)
        for (int i = 0; i < n; ++i)
            if (!WithinSaveRounding(x[i], x1[i]) || !WithinSaveRounding(y[i], y1[i]) ||
                !WithinSaveRounding(z[i], z1[i]))
                Finding("a saved coordinate moved by more than the rounding", i);

    const std::string second = FormatPointsText(x1, y1, z1);
    CDoubleArray x2, y2, z2;
    ParsePointsText(second, x2, y2, z2);
    if (x2.GetSize() != n)
        Finding("a second save reads back to another number of points");
    for (int i = 0; i < n; ++i)
        if (!SameBits(x1[i], x2[i]) || !SameBits(y1[i], y2[i]) || !SameBits(z1[i], z2[i]))
            Finding("a second save and read changed a point", i);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    CDoubleArray x, y, z;
    ParsePointsText(text, x, y, z);
    CheckArrays(x, y, z);
    // No point without at least one number, and a number takes a digit.
    if (static_cast<size_t>(x.GetSize()) > size / 2 + 1)
        Finding("more points than the text can hold");
    CheckRoundTrips(x, y, z, true);

    // Reading appends: points already there stay as they were.
    CDoubleArray ax, ay, az;
    ax.Add(-7.5);
    ay.Add(0.25);
    az.Add(3.0);
    ParsePointsText(text, ax, ay, az);
    if (ax.GetSize() != x.GetSize() + 1 || ax[0] != -7.5 || ay[0] != 0.25 || az[0] != 3.0)
        Finding("reading did not append");
    for (int i = 0; i < x.GetSize(); ++i)
        if (!SameBits(ax[i + 1], x[i]) || !SameBits(ay[i + 1], y[i]) || !SameBits(az[i + 1], z[i]))
            Finding("reading depends on the points already there", i);

    // The bytes as raw doubles: whatever a coordinate holds, the saved file
    // stays readable.
    CDoubleArray rx, ry, rz;
    for (size_t at = 0; at + 24 <= size; at += 24) {
        double v[3];
        std::memcpy(v, data + at, sizeof v);
        rx.Add(v[0]);
        ry.Add(v[1]);
        rz.Add(v[2]);
    }
    bool finite = true;
    for (int i = 0; i < rx.GetSize(); ++i)
        finite = finite && std::isfinite(rx[i]) && std::isfinite(ry[i]) && std::isfinite(rz[i]);
    CheckRoundTrips(rx, ry, rz, finite);
    return 0;
}
