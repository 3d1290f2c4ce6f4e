#include "relax/relax_log.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <span>

#include "curve/curve_contacts.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "knot/polygon_thickness.h"

namespace vek {

namespace {

// Shortest round-trip text; to_chars ignores the locale. Empty for a
// figure that is not finite.
std::string Field(double value)
{
    if (!std::isfinite(value))
        return {};
    char text[40];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::span<const double> Coordinates(const CDoubleArray& a)
{
    return {a.GetData(), static_cast<size_t>(a.GetSize())};
}

}  // namespace

std::string RelaxLogHeader()
{
    return "iteration,points,length,nominal,ropelength,min_nonlocal_distance_over_thickness,contacts\n";
}

RelaxLogRow MeasureRelaxLogRow(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                               long long iteration)
{
    RelaxLogRow row;
    row.iteration = iteration;
    row.points = x.GetSize();
    row.length = CurveLength(x, y, z);
    row.certifiedThickness = ComputePolygonThickness(Coordinates(x), Coordinates(y), Coordinates(z)).thickness;
    const double window = ExclusionWindow(thickness);
    const CurveContacts contacts = CountCurveContacts(x, y, z, window, kContactFactor * thickness);
    row.nearest = contacts.nonLocal;
    row.contacts = contacts.count;
    return row;
}

std::string FormatRelaxLogRow(const RelaxLogRow& row, double thickness)
{
    return std::to_string(row.iteration) + "," + std::to_string(row.points) + "," + Field(row.length) + "," +
           Field(row.length / thickness) + "," + Field(CertifiedRopelength(row.length, row.certifiedThickness)) +
           "," + Field(row.nearest / thickness) + "," + std::to_string(row.contacts) + "\n";
}

RelaxLog::~RelaxLog()
{
    if (m_file)
        std::fclose(m_file);
}

bool RelaxLog::Open(const std::string& path, std::string& error)
{
    m_path = path;
    m_file = std::fopen(path.c_str(), "w");
    if (!m_file) {
        error = "--log \"" + path + "\": cannot be written: " + std::strerror(errno);
        return false;
    }
    return Put(RelaxLogHeader(), error);
}

bool RelaxLog::Write(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                     long long iteration, std::string& error)
{
    if (!m_file || m_failed)
        return false;
    return Put(FormatRelaxLogRow(MeasureRelaxLogRow(x, y, z, thickness, iteration), thickness), error);
}

bool RelaxLog::Put(const std::string& text, std::string& error)
{
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), m_file) != text.size() || std::fflush(m_file) != 0) {
        m_failed = true;
        error = "--log \"" + m_path + "\": writing failed" + (errno ? std::string(": ") + std::strerror(errno) : "");
        return false;
    }
    return true;
}

bool RelaxLog::Close(std::string& error)
{
    if (!m_file)
        return !m_failed;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (!closed && !m_failed)
        error = "--log \"" + m_path + "\": closing failed: " + std::strerror(errno);
    return closed && !m_failed;
}

}  // namespace vek
