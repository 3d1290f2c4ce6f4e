#include "test_support.h"

#include <gtest/gtest.h>

#include <random>

#include "curve/constants.h"
#include "io/points_file.h"
#include "relax/relax_run.h"

std::ostream& operator<<(std::ostream& out, const Point& p)
{
    return out << "(" << p.x << ", " << p.y << ", " << p.z << ")";
}

void SetArrays(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const std::vector<Point>& points)
{
    x.SetSize(0);
    y.SetSize(0);
    z.SetSize(0);
    for (const Point& p : points) {
        x.Add(p.x);
        y.Add(p.y);
        z.Add(p.z);
    }
}

std::vector<Point> PointsOf(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    std::vector<Point> points;
    for (int i = 0; i < x.GetSize(); ++i)
        points.push_back({x[i], y[i], z[i]});
    return points;
}

std::vector<Point> PointsOf(const knotcurves::Polygon& polygon)
{
    std::vector<Point> points;
    for (int i = 0; i < polygon.Size(); ++i)
        points.push_back({polygon.x[i], polygon.y[i], polygon.z[i]});
    return points;
}

std::vector<Point> RandomCurve(unsigned seed, int count, double extent)
{
    std::mt19937 rng(seed);
    std::uniform_real_distribution<double> u(-extent, extent);
    std::vector<Point> points;
    for (int i = 0; i < count; ++i)
        points.push_back({u(rng), u(rng), u(rng)});
    return points;
}

std::filesystem::path FreshTempFolder(const std::string& name)
{
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("vek_" + name);
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

std::string ExamplePath(const std::string& name)
{
    return std::string(VEK_SOURCE_DIR) + "/examples/" + name;
}

void ReadExample(const std::string& name, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    std::string error;
    ASSERT_TRUE(ReadPointsFile(ExamplePath(name), x, y, z, error)) << error;
}

void ReadExampleTrefoil(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    ReadExample("trefoil.txt", x, y, z);
}

void ReadTightTrefoil(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    ReadExampleTrefoil(x, y, z);
    ASSERT_EQ(vek::RelaxCurve(x, y, z, 3000, vek::kThickness, 1.0), 3000);
}
