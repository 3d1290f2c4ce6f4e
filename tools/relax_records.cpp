#include "tools/relax_records.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

namespace vek {

namespace {

// Both names exist and are one file (a link, another spelling).
bool SameFile(const std::string& a, const std::string& b)
{
    std::error_code error;
    return std::filesystem::equivalent(a, b, error) && !error;
}

}  // namespace

RelaxRecords::RelaxRecords(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness)
    : m_x(x), m_y(y), m_z(z), m_thickness(thickness)
{
}

bool RelaxRecords::Start(const RelaxOptions& options, std::string& error)
{
    if (options.log.empty())
        return true;
    // Opening the log empties it: it must not be the curve's own file.
    for (const std::string& other : {options.input, options.output})
        if (!other.empty() && SameFile(options.log, other)) {
            error = "--log \"" + options.log + "\" is the file \"" + other + "\"; it would be overwritten";
            return false;
        }
    return m_log.Open(options.log, error) && m_log.Write(m_x, m_y, m_z, m_thickness, 0, error);
}

void RelaxRecords::AfterBlock(long long iteration)
{
    std::string error;
    if (m_log.IsOpen() && !m_failed && !m_log.Write(m_x, m_y, m_z, m_thickness, iteration, error))
        Fail(error);
}

bool RelaxRecords::Finish()
{
    std::string error;
    if (!m_log.Close(error) && !m_failed) {
        m_failed = true;
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
    }
    return !m_failed;
}

void RelaxRecords::Fail(const std::string& error)
{
    m_failed = true;
    std::fprintf(stderr, "vek-relax: %s; the run goes on without it\n", error.c_str());
}

}  // namespace vek
