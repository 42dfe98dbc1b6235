#include "IndependentBookReader.h"

#include <fstream>
#include <iterator>
#include <regex>

namespace refbook {
namespace {

// Cursor over a byte buffer; the first error sticks.
struct Cursor {
    const Bytes& data;
    std::size_t at = 0;
    std::string error;

    bool ok() const { return error.empty(); }
    void fail(const std::string& why)
    {
        if (error.empty())
            error = why + " at byte " + std::to_string(at);
    }
    std::uint32_t u32()
    {
        if (!ok() || data.size() - at < 4) {
            fail("truncated integer");
            return 0;
        }
        std::uint32_t v = data[at] | (data[at + 1] << 8) | (data[at + 2] << 16) |
                          (static_cast<std::uint32_t>(data[at + 3]) << 24);
        at += 4;
        return v;
    }
    std::int32_t i32() { return static_cast<std::int32_t>(u32()); }
    std::string text()
    {
        std::int32_t n = i32();
        if (!ok())
            return {};
        if (n < 0 || n > 1023 || static_cast<std::size_t>(n) > data.size() - at) {
            fail("bad text length " + std::to_string(n));
            return {};
        }
        std::string s(data.begin() + static_cast<long>(at), data.begin() + static_cast<long>(at) + n);
        at += static_cast<std::size_t>(n);
        return s;
    }
    std::vector<std::string> list()
    {
        std::int32_t n = i32();
        std::vector<std::string> v;
        if (ok() && (n < 0 || static_cast<std::size_t>(n) > (data.size() - at) / 4))
            fail("bad list count " + std::to_string(n));
        for (std::int32_t i = 0; ok() && i < n; ++i)
            v.push_back(text());
        return v;
    }
};

void put32(Bytes& out, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

void putText(Bytes& out, const std::string& s)
{
    put32(out, static_cast<std::uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}

Bytes readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

std::string parse(const BookFiles& files, Book& book)
{
    book = Book();

    Cursor index{files.index, 0, {}};
    std::int32_t n = index.i32();
    if (!index.ok())
        return "index: " + index.error;
    if (n < 0 || files.index.size() != 4 + 12 * static_cast<std::size_t>(n))
        return "index: count " + std::to_string(n) + " does not match " +
               std::to_string(files.index.size()) + " bytes";
    for (std::int32_t i = 0; i < n; ++i) {
        Entry e;
        e.id = index.u32();
        e.posDes = index.u32();
        e.posDet = index.u32();
        book.index.push_back(e);
    }

    Cursor des{files.des, 0, {}};
    Cursor det{files.det, 0, {}};
    for (const Entry& e : book.index) {
        if (e.posDes != des.at)
            return "description record of " + std::to_string(e.id) + " not at " +
                   std::to_string(des.at);
        Des d;
        d.id = des.u32();
        d.name = des.text();
        d.description = des.text();
        d.tex = des.text();
        d.images = des.list();
        if (!des.ok())
            return "description: " + des.error;
        if (d.id != e.id)
            return "description id differs from the index";
        book.des.push_back(d);

        if (e.posDet != det.at)
            return "detail record of " + std::to_string(e.id) + " not at " + std::to_string(det.at);
        Det t;
        t.id = det.u32();
        std::uint32_t count = det.u32();
        if (det.ok() && count > 10)
            return "detail: " + std::to_string(count) + " parameters";
        for (std::uint32_t p = 0; p < count && det.ok(); ++p) {
            Param prm;
            prm.name = det.text();
            prm.description = det.text();
            prm.alias = det.text();
            prm.unit = det.text();
            prm.value = det.text();
            t.params.push_back(prm);
        }
        t.expressions = det.list();
        if (!det.ok())
            return "detail: " + det.error;
        if (t.id != e.id)
            return "detail id differs from the index";
        book.det.push_back(t);
    }
    if (des.at != files.des.size())
        return "description file has bytes after the last record";
    if (det.at != files.det.size())
        return "detail file has bytes after the last record";

    const std::string tree(files.tree.begin(), files.tree.end());
    static const std::regex line(R"(([^ =\r\n]+) =([^\r\n]*)= ([0-9]+))");
    std::size_t at = 0;
    while (at < tree.size()) {
        std::size_t end = tree.find("\r\n", at);
        if (end == std::string::npos)
            return "tree: last line has no CR LF";
        std::smatch m;
        std::string s = tree.substr(at, end - at);
        if (!std::regex_match(s, m, line))
            return "tree: malformed line \"" + s + "\"";
        book.tree.push_back({m[1], m[2], std::stol(m[3])});
        at = end + 2;
    }
    return {};
}

BookFiles encode(const Book& book)
{
    BookFiles files;
    put32(files.index, static_cast<std::uint32_t>(book.index.size()));
    for (const Entry& e : book.index) {
        put32(files.index, e.id);
        put32(files.index, e.posDes);
        put32(files.index, e.posDet);
    }
    for (const Des& d : book.des) {
        put32(files.des, d.id);
        putText(files.des, d.name);
        putText(files.des, d.description);
        putText(files.des, d.tex);
        put32(files.des, static_cast<std::uint32_t>(d.images.size()));
        for (const std::string& s : d.images)
            putText(files.des, s);
    }
    for (const Det& t : book.det) {
        put32(files.det, t.id);
        put32(files.det, static_cast<std::uint32_t>(t.params.size()));
        for (const Param& p : t.params) {
            for (const std::string* s : {&p.name, &p.description, &p.alias, &p.unit, &p.value})
                putText(files.det, *s);
        }
        put32(files.det, static_cast<std::uint32_t>(t.expressions.size()));
        for (const std::string& s : t.expressions)
            putText(files.det, s);
    }
    for (const TreeLine& l : book.tree) {
        std::string s = l.id + " =" + l.name + "= " + std::to_string(l.type) + "\r\n";
        files.tree.insert(files.tree.end(), s.begin(), s.end());
    }
    return files;
}

BookFiles load(const std::string& strFolder, const std::string& strBook)
{
    const std::string base = strFolder + "/" + strBook + "_";
    return {readFile(base + "fortree.dat"), readFile(base + "indexfor.dat"),
            readFile(base + "fordes.dat"), readFile(base + "fordetail.dat")};
}

}  // namespace refbook
