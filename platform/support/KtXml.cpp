// KtXMLDocument, KtXmlElement and KtXmlAttribute: thin wrappers over
// tinyxml2. Element and attribute wrappers borrow from the document, which
// must outlive them; an empty name selects an element of any name. Files are
// read by FileReader, as every file of the program is.
#include <tinyxml2.h>

#include <new>

#include "support/FileReader.h"
#include "support/KtFileUtil.h"
#include "winapi/TextConversion.h"

namespace {
const char* NameOrAny(const std::string& name) {
    return name.empty() ? nullptr : name.c_str();
}
std::string TextOrEmpty(const char* text) {
    return text != nullptr ? std::string(text) : std::string();
}
}  // namespace

std::string KtXmlAttribute::Name() const {
    return m_attribute ? TextOrEmpty(m_attribute->Name()) : std::string();
}

std::string KtXmlAttribute::Value() const {
    return m_attribute ? TextOrEmpty(m_attribute->Value()) : std::string();
}

KtXmlAttribute KtXmlAttribute::Next() const {
    return KtXmlAttribute(m_attribute ? m_attribute->Next() : nullptr);
}

KtXmlElement KtXmlElement::FirstNode(const std::string& name) const {
    return KtXmlElement(m_element ? m_element->FirstChildElement(NameOrAny(name)) : nullptr);
}

KtXmlElement KtXmlElement::NextSiblingElement(const std::string& name) const {
    return KtXmlElement(m_element ? m_element->NextSiblingElement(NameOrAny(name)) : nullptr);
}

std::string KtXmlElement::Attribute(const std::string& name) const {
    return m_element ? TextOrEmpty(m_element->Attribute(name.c_str())) : std::string();
}

KtXmlAttribute KtXmlElement::FirstAttribute() const {
    return KtXmlAttribute(m_element ? m_element->FirstAttribute() : nullptr);
}

std::string KtXmlElement::Name() const {
    return m_element ? TextOrEmpty(m_element->Name()) : std::string();
}

std::string KtXmlElement::Text() const {
    return m_element ? TextOrEmpty(m_element->GetText()) : std::string();
}

KtXMLDocument::KtXMLDocument() : m_document(new (std::nothrow) tinyxml2::XMLDocument) {}

KtXMLDocument::~KtXMLDocument() = default;

KtXmlError KtXMLDocument::LoadFile(const std::wstring& path) {
    if (m_document == nullptr) return m_error = tinyxml2::XML_ERROR_FILE_COULD_NOT_BE_OPENED;
    if (FileReader::ReadXml(Strconv::WideToPath(path), *m_document) ==
        FileReader::XmlRead::kUnreadable)
        return m_error = tinyxml2::XML_ERROR_FILE_NOT_FOUND;
    return m_error = m_document->ErrorID();
}

KtXmlError KtXMLDocument::LoadFile(const std::string& path) {
    return LoadFile(Strconv::NarrowPathToWide(path));
}

KtXmlError KtXMLDocument::Parse(const std::string& text) {
    if (m_document == nullptr) return m_error = tinyxml2::XML_ERROR_PARSING;
    return m_error = m_document->Parse(text.data(), text.size());
}

// A document that failed to load holds no element: it counts as null too.
bool KtXMLDocument::IsDocumentNull() const {
    return m_document == nullptr || m_error != tinyxml2::XML_SUCCESS;
}

KtXmlElement KtXMLDocument::FirstNode(const std::string& name) const {
    return KtXmlElement(m_document ? m_document->FirstChildElement(NameOrAny(name)) : nullptr);
}
