// The defaults docs/reference.md lists are what a fresh control reads. The reference is
// generated from the header's initializers (reference_current keeps it so), so this
// catches a default that the construction or the window changes behind the header.
#include "TestHost.h"

#include <fstream>
#include <iterator>
#include <regex>

using namespace testhost;

class ReferenceDefaults : public ControlFixture {};

TEST_F(ReferenceDefaults, AreWhatAFreshControlReads) {
  std::ifstream file(TAMVERO_SOURCE_DIR "/docs/reference.md", std::ios::binary);
  const std::string doc((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  // Rows of the property table: "| dispid | [`Name`](#property-...) | type | `default` ... |".
  const std::regex row("\\n\\| \\d+ \\| \\[`(\\w+)`\\]\\(#property-[^|]*\\|[^|]*\\| `\"?([^`\"]*)\"?`");
  int rows = 0;
  for (std::sregex_iterator m(doc.begin(), doc.end(), row), end; m != end; ++m, ++rows) {
    const std::string name = (*m)[1], value = (*m)[2]; // names and defaults are ASCII
    EXPECT_EQ(Get(std::wstring(name.begin(), name.end()).c_str()), std::wstring(value.begin(), value.end())) << name;
  }
  EXPECT_GE(rows, 20);
}
