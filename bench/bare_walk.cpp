// The floor a whole `hakuvo-cli list` run is held against: a process that parses the same diary
// with pugixml and converts every numeric attribute, the least any reader of the file must do.
// It prints the count and the sum so that nothing can be left out by the compiler.
#include <cstdio>

#include "bare_walk.h"

using hakuvo::bench::WalkNumbers;

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: bench_bare_walk FILE\n");
    return 2;
  }
  pugi::xml_document document;
  if (!document.load_file(argv[1])) {
    std::fprintf(stderr, "bench_bare_walk: cannot parse %s\n", argv[1]);
    return 1;
  }
  long long attributes = 0;
  const double sum = WalkNumbers(document, attributes);
  std::printf("%lld\t%g\n", attributes, sum);
  return 0;
}
