// Reads "row_offset<TAB>column_offset<TAB>formula" lines and writes each translated formula on a
// line of its own ("!" and the message when it fails): the Python tests compare it with another
// implementation on many generated formulas.
#include <iostream>
#include <string>

#include "formula/formula.hpp"

int main() {
    std::string line;
    while (std::getline(std::cin, line)) {
        std::size_t t1 = line.find('\t');
        std::size_t t2 = t1 == std::string::npos ? t1 : line.find('\t', t1 + 1);
        if (t2 == std::string::npos) {
            std::cout << "!malformed input line\n";
            continue;
        }
        long long rows = std::stoll(line.substr(0, t1));
        long long columns = std::stoll(line.substr(t1 + 1, t2 - t1 - 1));
        auto out = qm::translate_formula(std::string_view(line).substr(t2 + 1), rows, columns);
        if (out) {
            std::cout << *out << '\n';
        } else {
            std::cout << '!' << out.error().message << '\n';
        }
    }
    return 0;
}
