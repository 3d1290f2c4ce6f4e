#include "io/curve_file.h"

#include "curve/constants.h"
#include "curve/replace_points.h"
#include "io/points_file.h"
#include "io/vect_file.h"

namespace {

// "1234567" -> "1,234,567".
std::string Grouped(long long n)
{
    std::string digits = std::to_string(n);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits;
}

// The refusal of a file of `points` points, or "" when it is taken.
std::string CountRefusal(const std::string& path, long long points)
{
    const std::string name = "\"" + path + "\": ";
    if (points > vek::kMaxCurvePoints)
        return name + Grouped(points) + " points, more than the " + Grouped(vek::kMaxCurvePoints) +
               " points Vek takes";
    if (points < vek::kMinCurveFilePoints)
        return name + std::to_string(points) + (points == 1 ? " point" : " points") +
               "; a closed curve needs at least " + std::to_string(vek::kMinCurveFilePoints);
    return {};
}

}  // namespace

bool ReadCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error,
                   std::vector<std::string>* notes)
{
    if (notes)
        notes->clear();
    if (IsVectPath(path)) {
        std::vector<double> xyz;
        if (!GatherVectFile(path, xyz, error))
            return false;
        if (xyz.empty()) {
            error = "\"" + path + "\": no points: the VECT file holds no polyline";
            return false;
        }
        error = CountRefusal(path, static_cast<long long>(xyz.size() / 3));
        if (!error.empty())
            return false;
        ReplacePoints(xyz, x, y, z);
        return true;
    }
    PointsReading reading;
    if (!GatherPointsFile(path, reading, error, vek::kMaxCurvePoints))
        return false;
    if (reading.points == 0) {
        error = "\"" + path + "\": " + reading.noPoints;
        return false;
    }
    error = CountRefusal(path, reading.points);
    if (!error.empty())
        return false;
    if (notes)
        for (const std::string& note : reading.notes)
            notes->push_back("\"" + path + "\": " + note);
    ReplacePoints(reading.xyz, x, y, z);
    return true;
}

bool WriteCurveFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                    std::string& error)
{
    return IsVectPath(path) ? WriteVectFile(path, x, y, z, error) : WritePointsFile(path, x, y, z, error);
}

void RoundLikeCurveFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    if (!path.empty() && IsVectPath(path))
        return;
    const std::string text = FormatPointsText(x, y, z);
    CDoubleArray rx, ry, rz;
    ParsePointsText(text, rx, ry, rz);
    // Every written line reads back as one point, so the counts agree.
    for (int k = 0; k < x.GetSize() && k < rx.GetSize(); ++k) {
        x[k] = rx[k];
        y[k] = ry[k];
        z[k] = rz[k];
    }
}
