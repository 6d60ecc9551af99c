// Parts of a TC6 file kept verbatim: an element written as text, with the TC6 namespace's prefix
// taken off its element names, and read back into a document being written.
#pragma once

#include <pugixml.hpp>

#include <initializer_list>
#include <string>

namespace grx::plcopen {

// The element and everything in it as XML text; element names that start with prefix (the TC6
// namespace's prefix in the file, "ppx:" or "") lose it.
std::string FragmentText(const pugi::xml_node& element, const std::string& prefix);

// Appends the element of a fragment text to parent and answers it; std::runtime_error when the text
// is no single element (a damaged description).
pugi::xml_node AppendFragment(pugi::xml_node parent, const std::string& text);
// The same, before the given child of parent.
pugi::xml_node InsertFragmentBefore(pugi::xml_node parent, const pugi::xml_node& before, const std::string& text);

// Children in the schema's order: the new child goes before the first child named in later
// (or last). AddChild makes an empty element, AddFragment one from a fragment text.
pugi::xml_node AddChild(pugi::xml_node parent, const char* name, std::initializer_list<const char*> later);
pugi::xml_node AddFragment(pugi::xml_node parent, const std::string& text, std::initializer_list<const char*> later);

// The text of a <documentation> element: its texts (XHTML paragraphs) joined, white space at
// both ends trimmed, at most 256 characters (a comment of the chart model).
std::string DocumentationText(const pugi::xml_node& documentation);

// The local name of a TC6 element of a file whose TC6 prefix is prefix; "" for a foreign element.
std::string LocalName(const pugi::xml_node& element, const std::string& prefix);

} // namespace grx::plcopen
