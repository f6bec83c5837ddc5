# Run by CPack on the staged installation before it packs it: what Debian asks of a package's files.
# The manual pages and the changelog compressed (gzip -9n), the copyright file in the package's
# documents folder.
set(staged "${CPACK_TEMPORARY_INSTALL_DIRECTORY}${CPACK_PACKAGING_INSTALL_PREFIX}")
file(GLOB pages "${staged}/share/man/man*/*.[1-9]")
foreach(page ${pages})
  execute_process(COMMAND gzip -9nf "${page}" RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip ${page} failed")
  endif()
endforeach()

# The version carries no Debian revision, so the package is native and its one changelog is named
# changelog.gz.
set(doc "${staged}/share/doc/kestrano")
file(MAKE_DIRECTORY "${doc}")
execute_process(COMMAND gzip -9nc "${CPACK_KESTRANO_BINARY_DIR}/dist/changelog"
  OUTPUT_FILE "${doc}/changelog.gz" RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "gzip of the changelog failed")
endif()

file(READ "${CPACK_KESTRANO_SOURCE_DIR}/docs/Readme.txt" terms)
string(STRIP "${terms}" terms)
# The terms as the license text of a Debian copyright file: indented, blank lines as " .".
string(REGEX REPLACE "\n\n" "\n.\n" terms "${terms}")
string(REGEX REPLACE "\n" "\n " terms "${terms}")
file(WRITE "${doc}/copyright"
  "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/\n"
  "Upstream-Name: Kestrano\n"
  "Source: https://example.org/kestrano/\n\n"
  "Files: *\n"
  "Copyright: 2026 Tormalind\n"
  "License: LicenseRef-proprietary\n"
  " The terms of Readme.txt:\n .\n ${terms}\n")
