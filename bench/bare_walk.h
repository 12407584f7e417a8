#pragma once

#include <pugixml.hpp>

#include <charconv>
#include <cstring>

namespace hakuvo::bench {

// What any reader of a diary must at least do once the XML is parsed: visit every element and
// convert every attribute that holds a number. The data-file benchmark and the whole-process
// floor of `hakuvo-cli list` measure against this same walk.
inline double WalkNumbers(const pugi::xml_node& node, long long& attributes) {
  double sum = 0;
  for (pugi::xml_node child = node.first_child(); child; child = child.next_sibling()) {
    for (pugi::xml_attribute a = child.first_attribute(); a; a = a.next_attribute()) {
      const char* text = a.value();
      double value = 0;
      if (std::from_chars(text, text + std::strlen(text), value).ec == std::errc()) sum += value;
      ++attributes;
    }
    sum += WalkNumbers(child, attributes);
  }
  return sum;
}

}  // namespace hakuvo::bench
