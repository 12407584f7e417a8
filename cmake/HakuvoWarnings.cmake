# One interface target carries the warning flags so every target gets the same set.
add_library(hakuvo_warnings INTERFACE)
target_compile_options(hakuvo_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Woverloaded-virtual)
if(HAKUVO_WERROR)
  target_compile_options(hakuvo_warnings INTERFACE -Werror)
endif()
