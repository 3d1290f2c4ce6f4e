// Fuzz target of the VECT polyline reader and writer (sketch/vect_file.h).
//
// Input: any bytes, read as the text of a VECT file. Checked on every input:
// - reading never crashes or hangs; a refused text comes with an error and
//   leaves the curve that was there exactly as it was;
// - a text that is read gives three arrays of equal length, every
//   coordinate finite;
// - the points read, written and read again come back bit for bit (but
//   for a last point that repeats the first, which the reader drops);
// - a read never yields more points than the text has numbers.
// The same bytes are also taken as raw doubles (24 bytes a point, so
// infinities, NaN and subnormals occur): what is written of them reads back.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "io/vect_file.h"

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

void CheckCurve(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    if (n != y.GetSize() || n != z.GetSize())
        Finding("arrays of different length");
    for (int i = 0; i < n; ++i)
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(z[i]))
            Finding("a coordinate that is not finite", i);
}

// Whether the last of the n points repeats the first, which a read drops.
bool LastRepeatsFirst(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    return n > 1 && x[0] == x[n - 1] && y[0] == y[n - 1] && z[0] == z[n - 1];
}

// Whether the first n points of a and b agree bit for bit.
bool SamePrefix(const CDoubleArray& ax, const CDoubleArray& ay, const CDoubleArray& az, const CDoubleArray& bx,
                const CDoubleArray& by, const CDoubleArray& bz, int n)
{
    for (int i = 0; i < n; ++i)
        if (!SameBits(ax[i], bx[i]) || !SameBits(ay[i], by[i]) || !SameBits(az[i], bz[i]))
            return false;
    return true;
}

bool SamePoints(const CDoubleArray& ax, const CDoubleArray& ay, const CDoubleArray& az, const CDoubleArray& bx,
                const CDoubleArray& by, const CDoubleArray& bz)
{
    return ax.GetSize() == bx.GetSize() && SamePrefix(ax, ay, az, bx, by, bz, ax.GetSize());
}

// Writes x, y, z and reads the text back; the result is returned in rx, ry, rz.
void WriteAndRead(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, CDoubleArray& rx,
                  CDoubleArray& ry, CDoubleArray& rz)
{
    const std::string text = FormatVectText(x, y, z);
    std::string error;
    if (!ParseVectText(text, rx, ry, rz, error))
        Finding(("a written text is refused: " + error).c_str());
    if (rx.GetSize() != ry.GetSize() || rx.GetSize() != rz.GetSize())
        Finding("arrays of different length after a write and read");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // A curve already there, which a refused text must leave alone.
    CDoubleArray x, y, z;
    for (int i = 0; i < 3; ++i) {
        x.Add(0.5 * i);
        y.Add(-1.25);
        z.Add(i == 1 ? -0.0 : 3.0);
    }
    CDoubleArray ox, oy, oz;
    WriteAndRead(x, y, z, ox, oy, oz);

    std::string error;
    if (!ParseVectText(text, x, y, z, error)) {
        if (error.empty())
            Finding("a refusal without an error");
        if (!SamePoints(x, y, z, ox, oy, oz))
            Finding("a refused text changed the curve");
    } else {
        CheckCurve(x, y, z);
        // Every point takes three numbers, each at least one character and
        // a separator.
        if (static_cast<size_t>(x.GetSize()) * 6 > size + 1)
            Finding("more points than the text can hold");
        // Written and read again, the points come back bit for bit, but for
        // a last point that repeats the first (the reader drops one such
        // closing point; it adds no segment to the closed curve).
        CDoubleArray rx, ry, rz;
        WriteAndRead(x, y, z, rx, ry, rz);
        const int expected = x.GetSize() - (LastRepeatsFirst(x, y, z) ? 1 : 0);
        if (rx.GetSize() != expected || !SamePrefix(x, y, z, rx, ry, rz, expected))
            Finding("a write and read changed the points");
    }

    // The bytes as raw doubles: whatever a coordinate holds, the written
    // text reads back with finite coordinates, the finite ones unchanged.
    CDoubleArray dx, dy, dz;
    for (size_t at = 0; at + 24 <= size; at += 24) {
        double v[3];
        std::memcpy(v, data + at, sizeof v);
        dx.Add(v[0]);
        dy.Add(v[1]);
        dz.Add(v[2]);
    }
    CDoubleArray rx, ry, rz;
    WriteAndRead(dx, dy, dz, rx, ry, rz);
    const int n = dx.GetSize();
    const bool closingDropped = rx.GetSize() == n - 1;
    if (rx.GetSize() != n && !closingDropped)
        Finding("raw points read back to another number of points");
    for (int i = 0; i < rx.GetSize(); ++i) {
        if (!std::isfinite(rx[i]) || !std::isfinite(ry[i]) || !std::isfinite(rz[i]))
            Finding("a written coordinate reads back not finite", i);
        const double in[3] = {dx[i], dy[i], dz[i]}, out[3] = {rx[i], ry[i], rz[i]};
        for (int c = 0; c < 3; ++c)
            if (std::isfinite(in[c]) && !SameBits(in[c], out[c]))
                Finding("a finite coordinate changed in a write and read", i);
    }
    return 0;
}
