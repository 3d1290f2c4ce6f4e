#include "io/vect_file.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <utility>
#include <vector>

#include "curve/constants.h"
#include "curve/replace_points.h"
#include "io/file_bytes.h"
#include "io/number_text.h"
#include "text/path_names.h"

namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// The white-space separated words of the text, comments left out.
std::vector<std::string_view> Words(std::string_view text)
{
    std::vector<std::string_view> words;
    size_t k = 0;
    while (k < text.size()) {
        if (text[k] == '#') {
            while (k < text.size() && text[k] != '\n')
                ++k;
        } else if (IsSpace(text[k])) {
            ++k;
        } else {
            const size_t start = k;
            while (k < text.size() && !IsSpace(text[k]) && text[k] != '#')
                ++k;
            words.push_back(text.substr(start, k - start));
        }
    }
    return words;
}

// Sign, digits with at most one point, an optional exponent with digits:
// the form IsBelowDoubleRange takes.
bool IsNumberToken(std::string_view word)
{
    size_t k = 0;
    if (k < word.size() && (word[k] == '+' || word[k] == '-'))
        ++k;
    bool digit = false, point = false;
    for (; k < word.size() && word[k] != 'e' && word[k] != 'E'; ++k) {
        if (word[k] == '.' && !point)
            point = true;
        else if (word[k] >= '0' && word[k] <= '9')
            digit = true;
        else
            return false;
    }
    if (!digit)
        return false;
    if (k == word.size())
        return true;
    ++k;
    if (k < word.size() && (word[k] == '+' || word[k] == '-'))
        ++k;
    if (k == word.size())
        return false;
    for (; k < word.size(); ++k)
        if (word[k] < '0' || word[k] > '9')
            return false;
    return true;
}

std::string Quoted(std::string_view word)
{
    constexpr size_t kShown = 20;
    return "\"" + std::string(word.substr(0, kShown)) + (word.size() > kShown ? "...\"" : "\"");
}

// Reads words one at a time, with the position in the error messages.
class WordReader {
public:
    explicit WordReader(std::vector<std::string_view> words) : m_words(std::move(words)) {}

    size_t Left() const { return m_words.size() - m_next; }

    bool Count(const char* what, long long& value, std::string& error)
    {
        if (!Have(what, error))
            return false;
        const std::string_view word = m_words[m_next];
        // from_chars takes no "+"; a count never needs one.
        const auto result = std::from_chars(word.data(), word.data() + word.size(), value);
        if (result.ec != std::errc() || result.ptr != word.data() + word.size()) {
            error = std::string(what) + " must be a whole number, not " + Quoted(word);
            return false;
        }
        ++m_next;
        return true;
    }

    bool Number(const char* what, double& value, std::string& error)
    {
        if (!Have(what, error))
            return false;
        const std::string_view word = m_words[m_next];
        // Files written by C programs may sign positive numbers; from_chars
        // takes only "-".
        std::string_view digits = word;
        if (digits.size() > 1 && digits[0] == '+' && digits[1] != '-' && digits[1] != '+')
            digits.remove_prefix(1);
        const auto result =
            std::from_chars(digits.data(), digits.data() + digits.size(), value, std::chars_format::general);
        const bool whole = result.ptr == digits.data() + digits.size();
        // A number too small for a double reads as 0 with its sign, as the
        // position data file reads it; one too large is refused.
        if (result.ec == std::errc::result_out_of_range && whole && IsNumberToken(digits) &&
            IsBelowDoubleRange(digits)) {
            value = digits[0] == '-' ? -0.0 : 0.0;
            ++m_next;
            return true;
        }
        if (result.ec != std::errc() || !whole || !std::isfinite(value)) {
            error = std::string(what) + " must be a finite number, not " + Quoted(word);
            return false;
        }
        ++m_next;
        return true;
    }

private:
    bool Have(const char* what, std::string& error)
    {
        if (m_next < m_words.size())
            return true;
        error = std::string("the file ends where ") + what + " should be";
        return false;
    }

    std::vector<std::string_view> m_words;
    size_t m_next = 0;
};

void AppendShortest(std::string& out, double value)
{
    out += NumberText(value, -1);
}

}  // namespace

bool IsVectPath(const std::string& path)
{
    return vek::HasPathExtension(path, "vect");
}

std::string FormatVectText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const int n = x.GetSize();
    if (n == 0)
        return "VECT\n0 0 0\n";
    std::string text = "VECT\n1 " + std::to_string(n) + " 0\n-" + std::to_string(n) + "\n0\n";
    AppendPointLines(text, x, y, z, AppendShortest, "\n");
    return text;
}

bool ParseVectCoordinates(std::string_view text, std::vector<double>& xyz, std::string& error)
{
    using namespace std::string_view_literals;
    if (text.substr(0, 2) == "\xFF\xFE"sv || text.substr(0, 2) == "\xFE\xFF"sv) {
        error = "a UTF-16 text file; Vek reads plain ASCII (or UTF-8) text";
        return false;
    }
    // A UTF-8 byte-order mark (some editors write one) is no content.
    if (text.substr(0, 3) == "\xEF\xBB\xBF"sv)
        text.remove_prefix(3);
    std::vector<std::string_view> words = Words(text);
    if (words.empty() || words[0] != "VECT") {
        if (!words.empty() && words[0] == "4VECT")
            error = "4VECT (homogeneous coordinates) is not supported; only VECT";
        else
            error = "not a VECT file: it does not start with the word VECT";
        return false;
    }
    if (words.size() > 1 && words[1] == "BINARY") {
        error = "binary VECT is not supported; only the text form";
        return false;
    }
    words.erase(words.begin());
    WordReader reader(std::move(words));

    long long polylines = 0, vertices = 0, colors = 0;
    if (!reader.Count("the polyline count", polylines, error) || !reader.Count("the vertex count", vertices, error) ||
        !reader.Count("the colour count", colors, error))
        return false;
    if (polylines < 0 || vertices < 0 || colors < 0) {
        error = "the polyline, vertex and colour counts must not be negative";
        return false;
    }
    if (polylines > 1) {
        error = "the file holds " + std::to_string(polylines) +
                " polylines; Vek relaxes one closed curve, so give a file with one polyline";
        return false;
    }
    // Every count stands for words the file must still hold; a file too short
    // for them is refused before anything is stored, so a count of billions
    // in a small file takes no storage. (No overflow: each count is at most
    // LLONG_MAX / 8 here or the comparison below fails first.)
    constexpr long long kLargest = std::numeric_limits<long long>::max() / 8;
    if (vertices > kLargest || colors > kLargest ||
        2 * polylines + 3 * vertices + 4 * colors > static_cast<long long>(reader.Left())) {
        error = "the counts (" + std::to_string(polylines) + " polylines, " + std::to_string(vertices) +
                " vertices, " + std::to_string(colors) + " colours) need more numbers than the file holds";
        return false;
    }
    if (polylines == 0) {
        if (vertices != 0 || colors != 0) {
            error = "a file without polylines cannot have vertices or colours";
            return false;
        }
        xyz.clear();
        return true;
    }

    long long polylineVertices = 0, polylineColors = 0;
    if (!reader.Count("the polyline's vertex count", polylineVertices, error) ||
        !reader.Count("the polyline's colour count", polylineColors, error))
        return false;
    const long long count = std::llabs(polylineVertices);
    if (count == 0 || count != vertices) {
        error = "the polyline's vertex count " + std::to_string(polylineVertices) +
                " does not match the vertex count " + std::to_string(vertices) + " (it must be that, or minus it)";
        return false;
    }
    if (polylineColors != colors) {
        error = "the polyline's colour count " + std::to_string(polylineColors) +
                " does not match the colour count " + std::to_string(colors) + " of the second line";
        return false;
    }
    if (!(colors == 0 || colors == 1 || colors == count)) {
        error = "the colour count " + std::to_string(colors) + " must be 0, 1 or the vertex count " +
                std::to_string(count);
        return false;
    }
    if (count > vek::kMaxCurvePoints) {
        error = "the polyline has " + std::to_string(count) + " vertices, more than the " +
                std::to_string(vek::kMaxCurvePoints) + " points Vek takes";
        return false;
    }
    std::vector<double> coordinates(static_cast<size_t>(count) * 3);
    for (double& c : coordinates) {
        if (!reader.Number("a vertex coordinate", c, error))
            return false;
    }
    for (long long k = 0; k < colors * 4; ++k) {
        double component = 0.0;
        if (!reader.Number("a colour component", component, error))
            return false;
    }
    if (reader.Left() != 0) {
        error = "the file goes on after the last colour: " + std::to_string(reader.Left()) + " numbers too many";
        return false;
    }

    // A last vertex that repeats the first closes the polyline a second time.
    if (count > 1 && std::equal(coordinates.begin(), coordinates.begin() + 3, coordinates.end() - 3))
        coordinates.resize(coordinates.size() - 3);
    xyz = std::move(coordinates);
    return true;
}

bool ParseVectText(std::string_view text, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error)
{
    std::vector<double> xyz;
    if (!ParseVectCoordinates(text, xyz, error))
        return false;
    ReplacePoints(xyz, x, y, z);
    return true;
}

bool GatherVectFile(const std::string& path, std::vector<double>& xyz, std::string& error)
{
    std::string bytes;
    if (!ReadFileBytes(path, bytes, error))
        return false;
    if (!ParseVectCoordinates(bytes, xyz, error)) {
        error = "\"" + path + "\": " + error;
        return false;
    }
    return true;
}

bool ReadVectFile(const std::string& path, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, std::string& error)
{
    std::vector<double> xyz;
    if (!GatherVectFile(path, xyz, error))
        return false;
    ReplacePoints(xyz, x, y, z);
    return true;
}

bool WriteVectFile(const std::string& path, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                   std::string& error)
{
    return WriteFileBytes(path, FormatVectText(x, y, z), error);
}
