#pragma once

#include <istream>
#include <string>
#include <vector>

namespace market {

// Reads comma-separated rows (RFC 4180: quoted fields may hold commas,
// doubled quotes and line breaks; CRLF or LF line ends; a UTF-8 byte order
// mark at the start is skipped).
class CsvReader {
public:
    explicit CsvReader(std::istream& in);
    bool next(std::vector<std::string>& row);   // false at the end of the input

private:
    std::istream& in_;
};

}
