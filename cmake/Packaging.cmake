# The Debian package a user installs, made by `scripts/package` (configured with the prefix
# /usr, then CPack). The dependencies come from the shared libraries the two programs use
# (dpkg-shlibdeps), plus what the program loads at run time that no library names: the
# Japanese fonts the chart is drawn in and Qt's translations. Qt's xcb and offscreen platform
# plugins come with libqt6gui6 on Debian 12, which the libraries already name.
set(NIMBREL_PACKAGE_MAINTAINER
    "Nimbrel maintainers <maintainers@users.noreply.c-seed-4bbdeb5c.example>"
    CACHE STRING "Maintainer field of the Debian package")
set(nimbrel_runtime_depends fonts-ipafont-mincho fonts-ipafont-gothic qt6-translations-l10n)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME nimbrel)
set(CPACK_PACKAGE_VENDOR Nimbrel)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT ${NIMBREL_PACKAGE_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Ichimoku Kinko Hyo charts of daily prices")
# Debian shows the long description as it stands: lines of at most 80 columns, paragraphs
# apart.
set(CPACK_PACKAGE_DESCRIPTION [=[
Nimbrel draws Ichimoku Kinko Hyo charts of one security from a file of
daily prices, as they are read on the Japanese market: candles, the
conversion and base lines, both leading spans with the cloud between them,
and the lagging line.

It reads text files in Shift-JIS or UTF-8 and Excel 97 and Excel 95
workbooks of up to 15000 days. The menus are Japanese; on the chart it
measures the days and the price range between two days, zooms, and prints
on a whole sheet or on half a sheet. From the command line it exports the
computed lines as CSV and draws charts to PNG or PDF files without a
display.]=])
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
list(JOIN nimbrel_runtime_depends ", " CPACK_DEBIAN_PACKAGE_DEPENDS)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_DEBIAN_COMPRESSION_TYPE xz)

include(CPack)
