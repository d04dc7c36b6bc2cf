#include "desktop/export/XmlOut.h"

#include "desktop/export/Markup.h"

namespace exporter {

namespace {

const xmlChar* X(const char* text)
{
    return reinterpret_cast<const xmlChar*>(text);
}

}  // namespace

XmlOut::XmlOut()
{
    buffer_ = xmlBufferCreate();
    writer_ = buffer_ != nullptr ? xmlNewTextWriterMemory(buffer_, 0) : nullptr;
    ok_ = writer_ != nullptr;
}

XmlOut::~XmlOut()
{
    if (writer_ != nullptr)
        xmlFreeTextWriter(writer_);
    if (buffer_ != nullptr)
        xmlBufferFree(buffer_);
}

void XmlOut::Check(int result)
{
    if (result < 0)
        ok_ = false;
}

void XmlOut::Begin(const char* rootName, const char* systemId)
{
    if (!ok_)
        return;
    Check(xmlTextWriterStartDocument(writer_, "1.0", "UTF-8", nullptr));
    Check(xmlTextWriterWriteDTD(writer_, X(rootName), nullptr, X(systemId), nullptr));
    Check(xmlTextWriterWriteRaw(writer_, X("\n")));
}

void XmlOut::Start(const char* name)
{
    if (ok_)
        Check(xmlTextWriterStartElement(writer_, X(name)));
}

void XmlOut::Attribute(const char* name, const std::string& utf8)
{
    if (ok_)
        Check(xmlTextWriterWriteAttribute(writer_, X(name), X(XmlChars(utf8).c_str())));
}

void XmlOut::Text(const std::string& utf8)
{
    if (ok_)
        Check(xmlTextWriterWriteString(writer_, X(XmlChars(utf8).c_str())));
}

void XmlOut::Element(const char* name, const std::string& utf8)
{
    Start(name);
    Text(utf8);
    End();
}

void XmlOut::Cdata(const std::string& text)
{
    if (ok_)
        Check(xmlTextWriterWriteCDATA(writer_, X(text.c_str())));
}

void XmlOut::Base64(const std::string& bytes)
{
    if (ok_)
        Check(xmlTextWriterWriteBase64(writer_, bytes.data(), 0, static_cast<int>(bytes.size())));
}

void XmlOut::End()
{
    if (ok_)
        Check(xmlTextWriterEndElement(writer_));
}

std::string XmlOut::Finish()
{
    if (ok_)
        Check(xmlTextWriterEndDocument(writer_));
    if (ok_)
        Check(xmlTextWriterFlush(writer_));
    if (!ok_)
        return std::string();
    return std::string(reinterpret_cast<const char*>(xmlBufferContent(buffer_)),
                       static_cast<size_t>(xmlBufferLength(buffer_)));
}

}  // namespace exporter
