# cmake -DHAKUVO_SOURCE_DIR=... -DWORK_DIR=... -P release_notes_test.cmake
# Reads a changelog of two releases through cmake/HakuvoRelease.cmake: the version and date are
# the newest entry's, every entry becomes a release with its items, and the characters that
# CMake lists and XML treat specially come through as text.
file(MAKE_DIRECTORY "${WORK_DIR}")
set(HAKUVO_CHANGELOG "${WORK_DIR}/CHANGELOG")
file(WRITE "${HAKUVO_CHANGELOG}" "hakuvo (1.10.0) unstable; urgency=medium

  * Graphs of pace; climb & descent in the list [new columns].
  * A long item that goes on
    over a second line <with> signs.

 -- Hakuvo maintainers <m@example.org>  Mon, 3 May 2027 10:00:00 +0900

hakuvo (1.9.2) unstable; urgency=low

  * Fixes.

 -- Hakuvo maintainers <m@example.org>  Sun, 21 Feb 2027 00:00:00 +0000
")
include("${HAKUVO_SOURCE_DIR}/cmake/HakuvoRelease.cmake")

function(expect name actual expected)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${name}:\n  got      [${actual}]\n  expected [${expected}]")
  endif()
endfunction()

expect(version "${HAKUVO_VERSION}" "1.10.0")
expect(date "${HAKUVO_RELEASE_DATE}" "2027-05-03")
set(expected "<release version=\"1.10.0\" date=\"2027-05-03\">
      <description>
        <ul>
          <li>Graphs of pace; climb &amp; descent in the list [new columns].</li>
          <li>A long item that goes on over a second line &lt;with&gt; signs.</li>
        </ul>
      </description>
    </release>
    <release version=\"1.9.2\" date=\"2027-02-21\">
      <description>
        <ul>
          <li>Fixes.</li>
        </ul>
      </description>
    </release>")
expect(releases "${HAKUVO_APPSTREAM_RELEASES}" "${expected}")
