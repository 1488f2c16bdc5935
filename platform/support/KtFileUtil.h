// File helpers and thin XML wrappers over tinyxml2.
#pragma once

#include <memory>
#include <string>

namespace tinyxml2 {
class XMLDocument;
class XMLElement;
class XMLAttribute;
}  // namespace tinyxml2

namespace DE {
bool FileExistsW(const std::wstring& path);
// A narrow path: in the ANSI code page on Windows, UTF-8 elsewhere.
bool FileExistsA(const std::string& path);
// The file version from the file's version resource, as "a.b.c.d"; empty when absent.
std::wstring GetFileVersion(const std::wstring& file);
// True when the folder holds usable strings for that language or the closest shipped one.
bool LanguageResExist(std::wstring language, const std::wstring& folder);
}  // namespace DE

namespace FileInfo {
// The absolute path of a path relative to the executable's folder.
bool GetSelfFullFilePath(std::wstring& fullPath, const std::wstring& relativePath);
}  // namespace FileInfo

typedef int KtXmlError;  // 0 (tinyxml2::XML_SUCCESS) means the file was read and parsed

class KtXmlAttribute {
public:
    KtXmlAttribute() = default;
    explicit KtXmlAttribute(const tinyxml2::XMLAttribute* attribute) : m_attribute(attribute) {}
    bool IsAttributeNull() const { return m_attribute == nullptr; }
    std::string Name() const;
    std::string Value() const;
    KtXmlAttribute Next() const;

private:
    const tinyxml2::XMLAttribute* m_attribute = nullptr;
};

class KtXmlElement {
public:
    KtXmlElement() = default;
    explicit KtXmlElement(tinyxml2::XMLElement* element) : m_element(element) {}
    bool IsElementNull() const { return m_element == nullptr; }
    // An empty name selects an element of any name.
    KtXmlElement FirstNode(const std::string& name) const;
    KtXmlElement NextSiblingElement(const std::string& name) const;
    // The attribute's value; empty when the attribute is missing.
    std::string Attribute(const std::string& name) const;
    KtXmlAttribute FirstAttribute() const;
    std::string Name() const;
    std::string Text() const;

private:
    tinyxml2::XMLElement* m_element = nullptr;
};

// Owns its document (so it is neither copied nor moved).
class KtXMLDocument {
public:
    KtXMLDocument();
    ~KtXMLDocument();

    KtXmlError LoadFile(const std::wstring& path);
    // A narrow path: in the ANSI code page on Windows, UTF-8 elsewhere.
    KtXmlError LoadFile(const std::string& path);
    KtXmlError Parse(const std::string& text);
    bool IsDocumentNull() const;
    // The first element of that name below the document; an empty name selects any.
    KtXmlElement FirstNode(const std::string& name) const;

private:
    std::unique_ptr<tinyxml2::XMLDocument> m_document;
    KtXmlError m_error = 0;  // of the last load or parse
};
