// An XML document written by libxml2's text writer, which escapes and
// nests; the text given is cleaned of what XML 1.0 cannot hold first, so a
// note's bytes of any kind make a well-formed file. A failure of the
// writer (memory) is kept and makes Finish() empty.
#pragma once

#include <libxml/xmlwriter.h>

#include <string>

namespace exporter {

class XmlOut {
public:
    XmlOut();
    ~XmlOut();
    XmlOut(const XmlOut&) = delete;
    XmlOut& operator=(const XmlOut&) = delete;

    // The XML declaration and a document type by its system id.
    void Begin(const char* rootName, const char* systemId);
    void Start(const char* name);
    void Attribute(const char* name, const std::string& utf8);
    void Text(const std::string& utf8);
    void Element(const char* name, const std::string& utf8);  // Start, Text, End
    void Cdata(const std::string& text);
    void Base64(const std::string& bytes);
    void End();
    // The document; empty when anything failed.
    std::string Finish();

private:
    void Check(int result);

    xmlBufferPtr buffer_ = nullptr;
    xmlTextWriterPtr writer_ = nullptr;
    bool ok_ = true;
};

}  // namespace exporter
