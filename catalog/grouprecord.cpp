#include "catalog/grouprecord.h"

#include "catalog/streamreaders.h"

namespace grouprecord {

void parse(const unsigned char* record, int keyLength, std::string& key, std::string& name) {
    key.assign(reinterpret_cast<const char*>(record), static_cast<std::size_t>(keyLength));
    name = fixedText(record + keyLength, nameWidth);
    simplifyText(name);
}

void read(std::istream& in, int keyLength, std::string& key, std::string& name) {
    unsigned char record[size(5)];
    key.clear();
    name.clear();
    in.read(reinterpret_cast<char*>(record), static_cast<std::streamsize>(size(keyLength)));
    if (in.gcount() == static_cast<std::streamsize>(size(keyLength)))
        parse(record, keyLength, key, name);
}

} // namespace grouprecord
