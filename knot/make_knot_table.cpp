// Reads the knot table (name, crossings, symmetry, diagram code) and writes
// a C++ source with every row and the HOMFLY-PT polynomial of its diagram.
//
//   vek-make-knot-table knots.csv out.cpp
//
// Exits 1 when a row cannot be read or its polynomial not computed.
#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "knot/homfly.h"
#include "knot/pd_code.h"

namespace {

// Splits one line of the table: three plain fields and a quoted code.
bool SplitRow(const std::string& line, std::vector<std::string>& f)
{
    f.clear();
    std::string cur;
    bool quoted = false;
    for (char c : line) {
        if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            f.push_back(cur);
            cur.clear();
        } else if (c != '\r') {
            cur += c;
        }
    }
    f.push_back(cur);
    return f.size() == 4 && !quoted;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::cerr << "usage: vek-make-knot-table knots.csv out.cpp\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot read\n";
        return 1;
    }
    std::ostringstream out;
    out << "// Written by vek-make-knot-table from data/knots.csv: do not edit.\n"
        << "#include \"knot/knot_table_data.h\"\n\nnamespace vek {\n\n";
    std::ostringstream rows;
    std::string line;
    std::getline(in, line);  // header
    int count = 0, lineNo = 1;
    std::vector<std::string> f;
    while (std::getline(in, line)) {
        ++lineNo;
        if (line.empty())
            continue;
        if (!SplitRow(line, f)) {
            std::cerr << argv[1] << ":" << lineNo << ": not a row name,crossings,symmetry,\"pd\"\n";
            return 1;
        }
        vek::PdCode code;
        vek::LinkDiagram d;
        std::string error;
        if (!vek::ParsePdCode(f[3], code, error) || !vek::PdToDiagram(code, d, error)) {
            std::cerr << argv[1] << ":" << lineNo << ": " << f[0] << ": " << error << "\n";
            return 1;
        }
        vek::Laurent2 p;
        if (!vek::HomflyPolynomial(d, p)) {
            std::cerr << argv[1] << ":" << lineNo << ": " << f[0] << ": polynomial not computed\n";
            return 1;
        }
        for (const auto& t : p.Terms())
            if (t.c > 2000000000LL || t.c < -2000000000LL) {
                std::cerr << f[0] << ": coefficient out of the table's range\n";
                return 1;
            }
        out << "static const int kTerms" << count << "[] = {";
        for (const auto& t : p.Terms())
            out << t.v << "," << t.z << "," << t.c << ",";
        out << "};\n";
        rows << "    {\"" << f[0] << "\", " << f[1] << ", \"" << f[2] << "\", \"" << f[3] << "\", kTerms" << count
             << ", " << p.Terms().size() << "},\n";
        ++count;
    }
    out << "\nconst KnotTableEntry kKnotTableEntries[] = {\n" << rows.str() << "};\n\nconst int kKnotTableSize = " << count
        << ";\n\n}  // namespace vek\n";
    std::ofstream file(argv[2]);
    file << out.str();
    if (!file) {
        std::cerr << argv[2] << ": cannot write\n";
        return 1;
    }
    return 0;
}
