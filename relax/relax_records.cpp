#include "relax/relax_records.h"

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
    if (!options.log.empty()) {
        // Opening the log empties it: it must not be the curve's own file.
        for (const std::string& other : {options.input, options.output})
            if (!other.empty() && SameFile(options.log, other)) {
                error = "--log \"" + options.log + "\" is the file \"" + other + "\"; it would be overwritten";
                return false;
            }
        if (!m_log.Open(options.log, error) || !m_log.Write(m_x, m_y, m_z, m_thickness, 0, error))
            return false;
    }
    // The frames last: a refused log leaves no frame behind that the next
    // run would take for an earlier one.
    return options.frames.empty() || m_frames.Start(options.frames, options.picture, m_x, m_y, m_z, error);
}

bool RelaxRecords::AfterBlock(long long iteration)
{
    std::string error;
    if (m_log.IsOpen() && !m_failed && !m_log.Write(m_x, m_y, m_z, m_thickness, iteration, error))
        Fail(error);
    return Frame(iteration);
}

bool RelaxRecords::AfterKeep(long long iteration)
{
    return iteration == m_framedIteration || Frame(iteration);
}

bool RelaxRecords::Frame(long long iteration)
{
    if (!m_frames.IsOpen() || m_framesFailed)
        return !m_framesFailed;
    std::string error;
    if (m_frames.Write(m_x, m_y, m_z, error)) {
        m_framedIteration = iteration;
        return true;
    }
    m_framesFailed = true;
    std::fprintf(stderr, "vek-relax: %s; the run stops after iteration %lld and its curve is written\n",
                 error.c_str(), iteration);
    return false;
}

bool RelaxRecords::Finish()
{
    std::string error;
    if (!m_log.Close(error) && !m_failed) {
        m_failed = true;
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
    }
    return !m_failed && !m_framesFailed;
}

void RelaxRecords::Fail(const std::string& error)
{
    m_failed = true;
    std::fprintf(stderr, "vek-relax: %s; the run goes on without it\n", error.c_str());
}

}  // namespace vek
