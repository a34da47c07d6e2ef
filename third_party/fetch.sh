#!/usr/bin/env bash
# Refreshes the pinned sources of libzip, expat and ISA-L from Debian's source packages (with Debian's
# patches applied, security fixes included) and keeps only what a static library build needs.
#
#   third_party/fetch.sh                      # the versions pinned below
#   LIBZIP=1.7.3-1 EXPAT=2.5.0-1+deb12u2 ISAL=2.30.0-5 third_party/fetch.sh
#
# Needs apt-get and dpkg-source (Debian: dpkg-dev). Uses its own apt lists in a temporary folder,
# so the machine's apt configuration is left alone. Review `git diff --stat third_party/` after.
set -euo pipefail
LIBZIP=${LIBZIP:-1.7.3-1}
EXPAT=${EXPAT:-2.5.0-1+deb12u2}
ISAL=${ISAL:-2.30.0-5}
SUITE=${SUITE:-bookworm}
here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

mkdir -p "$work/parts" "$work/lists/partial" "$work/cache/archives/partial" "$work/src"
cat > "$work/parts/src.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $SUITE
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/parts"
     -o "Dir::State::Lists=$work/lists" -o "Dir::Cache=$work/cache")
apt-get "${apt[@]}" -qq update
(cd "$work/src" && apt-get "${apt[@]}" -qq source "libzip=$LIBZIP" "expat=$EXPAT" "libisal=$ISAL")

# libzip: the library and what its CMakeLists.txt reads even with tools, tests and docs off.
zip_src=$(echo "$work"/src/libzip-*/)
rm -rf "$here/libzip" && mkdir -p "$here/libzip/regress"
cp -r "$zip_src"/{CMakeLists.txt,cmake,cmake-compat,cmake-config.h.in,cmake-zipconf.h.in,libzip.pc.in} \
      "$zip_src"/{libzip-config.cmake.in,lib,LICENSE,AUTHORS,NEWS.md} "$here/libzip/"
cp "$zip_src"/regress/{nihtest.conf.in,runtest.in} "$here/libzip/regress/"
cp "$zip_src/debian/copyright" "$here/libzip/debian-copyright"

# expat: the library part of the source tree.
expat_src=$(echo "$work"/src/expat-*/expat/)
rm -rf "$here/expat" && mkdir -p "$here/expat"
cp -r "$expat_src"/{CMakeLists.txt,ConfigureChecks.cmake,expat_config.h.cmake,expat.pc.cmake,cmake,lib} \
      "$expat_src"/{COPYING,AUTHORS,Changes} "$here/expat/"
cp "$expat_src/../debian/copyright" "$here/expat/debian-copyright"
# Debian builds expat with autotools, whose config header defines XML_DTD as 1; a backported
# security fix tests `#if XML_DTD == 1`, which the CMake template's bare define breaks.
sed -i 's/^#cmakedefine XML_DTD$/#cmakedefine XML_DTD 1/' "$here/expat/expat_config.h.cmake"
grep -q '^#cmakedefine XML_DTD 1$' "$here/expat/expat_config.h.cmake"

# ISA-L: the two units the module uses (Deflate and CRC-32) and the make files that build them.
isal_src=$(echo "$work"/src/libisal-*/)
rm -rf "$here/isa-l" && mkdir -p "$here/isa-l"
cp -r "$isal_src"/{Makefile.unx,make.inc,include,crc,igzip,LICENSE} "$here/isa-l/"
mkdir -p "$here/isa-l/tools" "$here/isa-l/tests/fuzz" && cp "$isal_src"/tests/fuzz/Makefile.am "$here/isa-l/tests/fuzz/" && cp "$isal_src"/tools/{gen_nmake.mk,nasm-filter.sh,yasm-filter.sh,nasm-cet-filter.sh,yasm-cet-filter.sh} "$here/isa-l/tools/"
cp "$isal_src/debian/copyright" "$here/isa-l/debian-copyright"

printf 'libzip %s\nexpat %s\nisa-l %s\n' "$LIBZIP" "$EXPAT" "$ISAL" > "$here/VERSIONS"
echo "third_party: libzip $LIBZIP, expat $EXPAT, isa-l $ISAL"
