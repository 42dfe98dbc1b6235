#pragma once

// A second reader of the four book files, written from their byte layouts
// alone and sharing no code with the program's reader. It is strict: every
// byte of every file must belong to a record, records must follow the index
// in order, and the tree must be exactly "<id> =<name>= <type>\r\n" lines.
// Encoding a parsed book must give back the very same bytes.

#include <cstdint>
#include <string>
#include <vector>

namespace refbook {

using Bytes = std::vector<unsigned char>;

struct Entry {
    std::uint32_t id = 0, posDes = 0, posDet = 0;
};
struct Des {
    std::uint32_t id = 0;
    std::string name, description, tex;
    std::vector<std::string> images;
};
struct Param {
    std::string name, description, alias, unit, value;
};
struct Det {
    std::uint32_t id = 0;
    std::vector<Param> params;
    std::vector<std::string> expressions;
};
struct TreeLine {
    std::string id, name;
    long type = 0;
};
struct Book {
    std::vector<Entry> index;
    std::vector<Des> des;  // in index order
    std::vector<Det> det;  // in index order
    std::vector<TreeLine> tree;
};

struct BookFiles {
    Bytes tree, index, des, det;
};

// Empty text when the files form a valid book; otherwise what is wrong.
std::string parse(const BookFiles& files, Book& book);
BookFiles encode(const Book& book);

// Reads "<folder>/<book>_fortree.dat" and the other three.
BookFiles load(const std::string& strFolder, const std::string& strBook);

}  // namespace refbook
