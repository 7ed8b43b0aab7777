#include "market/CsvReader.h"

namespace market {

CsvReader::CsvReader(std::istream& in) : in_(in)
{
    static const char bom[] = "\xef\xbb\xbf";
    char first[3] = {};
    in_.read(first, 3);
    if (in_.gcount() == 3 && std::string(first, 3) == bom)
        return;
    in_.clear();
    in_.seekg(0);
}

bool CsvReader::next(std::vector<std::string>& row)
{
    row.clear();
    std::string field;
    bool quoted = false, any = false;
    int c;
    while ((c = in_.get()) != EOF) {
        any = true;
        if (quoted) {
            if (c == '"') {
                if (in_.peek() == '"')
                    field += char(in_.get());
                else
                    quoted = false;
            } else {
                field += char(c);
            }
        } else if (c == '"') {
            quoted = true;
        } else if (c == ',') {
            row.push_back(field);
            field.clear();
        } else if (c == '\n') {
            break;
        } else if (c != '\r') {
            field += char(c);
        }
    }
    if (!any)
        return false;
    row.push_back(field);
    return true;
}

}
