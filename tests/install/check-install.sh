#!/bin/sh
# Installs the build tree into a temporary prefix, checks the installed tree
# as a desktop and a package manager read it, then builds the Debian package
# from the same tree and checks its contents and fields.
#
# Usage: check-install.sh CMAKE CPACK BUILD_DIR SOURCE_DIR
# Exit status: 0 all checks pass; 77 (a skip) every other check passed but a
# program does not answer --version yet; anything else a failure.
set -eu
cmake=$1
cpack=$2
build=$3
source=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT INT TERM

fail() {
    echo "check-install: $*" >&2
    exit 1
}

for tool in desktop-file-validate appstreamcli xmllint update-mime-database file dpkg-deb dpkg-shlibdeps timeout; do
    command -v "$tool" >/dev/null 2>&1 || fail "$tool is missing: run scripts/setup.sh"
done

app_id=org.ludra.LanguageEditor
mime_type=application/x-ludra-language
expected_files="bin/ludra-lang
bin/ludra-language-editor
share/applications/$app_id.desktop
share/icons/hicolor/256x256/apps/$app_id.png
share/icons/hicolor/scalable/apps/$app_id.svg
share/man/man1/ludra-lang.1
share/metainfo/$app_id.metainfo.xml
share/mime/packages/ludra-language-editor.xml"

# The installed tree: exactly the expected files, nothing from the tests,
# benchmarks or helper programs.
prefix=$work/prefix
"$cmake" --install "$build" --prefix "$prefix" >/dev/null
installed=$(cd "$prefix" && find . -type f | sed 's|^\./||' | LC_ALL=C sort)
[ "$installed" = "$expected_files" ] || fail "installed files differ:
$installed
expected:
$expected_files"

# The installed programs run from their new place.
"$prefix/bin/ludra-lang" info "$source/samples/lang_sample.xom" >"$work/info.txt" \
    || fail "the installed ludra-lang cannot read the sample"
grep -qx "Entries: 12" "$work/info.txt" || fail "ludra-lang info does not count the sample's 12 entries"

"$prefix/bin/ludra-lang" --version >"$work/lang-version.txt" 2>&1 || fail "ludra-lang --version failed"
grep -q "2\.0" "$work/lang-version.txt" || fail "ludra-lang --version does not name version 2.0"
QT_QPA_PLATFORM=offscreen timeout 20 "$prefix/bin/ludra-language-editor" --version >"$work/editor-version.txt" 2>&1 \
    || fail "ludra-language-editor --version failed"
grep -q "2\.0" "$work/editor-version.txt" || fail "ludra-language-editor --version does not name version 2.0"

# The desktop files pass the validators of the tools that read them.
desktop=$prefix/share/applications/$app_id.desktop
metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
mime_xml=$prefix/share/mime/packages/ludra-language-editor.xml
desktop-file-validate "$desktop" || fail "desktop-file-validate rejects the desktop entry"
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metainfo"
xmllint --noout "$mime_xml" || fail "the MIME XML is not well-formed"

# What the validators cannot see: the files name each other consistently.
grep -qx "Exec=ludra-language-editor %f" "$desktop" || fail "the desktop entry does not pass the file to the editor"
grep -qx "MimeType=$mime_type;" "$desktop" || fail "the desktop entry does not claim $mime_type"
grep -qx "Icon=$app_id" "$desktop" || fail "the desktop entry's icon is not $app_id"
grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" \
    || fail "the metainfo does not launch $app_id.desktop"
file -b "$prefix/share/icons/hicolor/256x256/apps/$app_id.png" | grep -q "^PNG image data, 256 x 256," \
    || fail "the PNG icon is not 256 x 256"
xmllint --noout "$prefix/share/icons/hicolor/scalable/apps/$app_id.svg" || fail "the SVG icon is not well-formed"
grep -q '^\.TH LUDRA-LANG "1"' "$prefix/share/man/man1/ludra-lang.1" || fail "the man page has no title line"
grep -q 'import IN.xom IN OUT.xom' "$prefix/share/man/man1/ludra-lang.1" \
    || fail "the man page lacks the commands of --help"
grep -qx '\.SS import' "$prefix/share/man/man1/ludra-lang.1" || fail "the man page lacks the commands' own help"
sed -n '/^\.SH SYNOPSIS/,/^\.SH DESCRIPTION/p' "$prefix/share/man/man1/ludra-lang.1" | grep -q 'version' \
    || fail "the man page's SYNOPSIS lacks ludra-lang --version"

# The file type as a desktop compiles it: the glob, and the magic at the
# offset where the sample, written by the project's own writer, has it.
mime_db=$work/mime
mkdir -p "$mime_db/packages"
cp "$mime_xml" "$mime_db/packages/"
XDG_DATA_DIRS=$work update-mime-database "$mime_db" || fail "update-mime-database rejects the MIME XML"
grep -qx "50:$mime_type:\*\.xom" "$mime_db/globs2" || fail "the compiled globs lack *.xom"
grep -aq "MOIK" "$mime_db/magic" || fail "the compiled magic lacks MOIK"
[ "$(head -c 4 "$source/samples/lang_sample.xom")" = "MOIK" ] || fail "a language file does not start with MOIK"

# The Debian package: the same files under /usr, its dependencies computed.
(cd "$build" && "$cpack" -G DEB -B "$work/package" >"$work/cpack.log" 2>&1) \
    || { cat "$work/cpack.log" >&2; fail "cpack could not build the package"; }
set -- "$work"/package/*.deb
[ "$#" -eq 1 ] && [ -f "$1" ] || fail "cpack made no single .deb"
deb=$1
dpkg-deb -c "$deb"
packaged=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { print $NF }' | sed 's|^\./usr/||' | LC_ALL=C sort)
[ "$packaged" = "$expected_files" ] || fail "the package's files differ from the installed tree:
$packaged"
dpkg-deb -f "$deb" Package Version Section Maintainer Depends
[ "$(dpkg-deb -f "$deb" Package)" = "ludra-language-editor" ] || fail "wrong package name"
[ "$(dpkg-deb -f "$deb" Section)" = "editors" ] || fail "wrong section"
[ -n "$(dpkg-deb -f "$deb" Maintainer)" ] || fail "no maintainer"
depends=$(dpkg-deb -f "$deb" Depends)
for library in libqt6widgets6 libqt6core6 libicu; do
    echo "$depends" | grep -q "$library" || fail "the package does not depend on $library"
done

echo "check-install: the installed tree and the package are complete"
