#!/usr/bin/env bash
# Prints the WiX fragment of a staged Windows folder: every file and folder in
# it but the executable at its top (packaging/OrvelleEx.wxs declares that one),
# under InstallDir, as the component group StagedFiles. Usage:
#   bash scripts/wix-files.sh STAGED_DIR > StagedFiles.wxs
# One component per file, its key path; one per folder, which declares the
# folder's removal on uninstall, so that a folder holding only folders (res/)
# does not stay behind.
# Identifiers and component GUIDs are derived from the path inside the folder,
# so the same file keeps its component from build to build.
set -euo pipefail

staged=${1:?usage: wix-files.sh STAGED_DIR}
[ -d "$staged" ] || { echo "wix-files: $staged is not a folder" >&2; exit 1; }
if odd=$(find "$staged" ! -type f ! -type d -print -quit) && [ -n "$odd" ]; then
    echo "wix-files: $odd is neither a file nor a folder" >&2
    exit 1
fi

components=()

# The SHA-1 of a path key ("res/x.xml" for a file, "res/" for a folder), upper case.
path_hash() {
    local sum
    sum=$(printf 'OrvelleEx:%s' "$1" | sha1sum)
    echo "${sum:0:40}" | tr a-f A-F
}

# A name-based GUID (version 5 layout) from such a hash.
path_guid() {
    local h=$1
    printf '%s-%s-5%s-%X%s-%s\n' "${h:0:8}" "${h:8:4}" "${h:13:3}" $(((16#${h:16:1} & 3) | 8)) \
        "${h:17:3}" "${h:20:12}"
}

# Text for an attribute: XML escapes, and "$$" so wixl's preprocessor keeps a "$".
attr() {
    local s=${1//&/\&amp;}
    s=${s//</\&lt;}
    s=${s//>/\&gt;}
    s=${s//\"/\&quot;}
    echo "${s//\$/\$\$}"
}

entries() {
    find "$1" -mindepth 1 -maxdepth 1 -type "$2" -printf '%f\n' | LC_ALL=C sort
}

# emit_folder REL INDENT: the folder REL ("" for the top) and everything beneath it.
emit_folder() {
    # Identifiers: a letter for the kind of element, then 96 bits of the path's hash.
    local rel=$1 indent=$2 h id name file
    local dir=$staged${rel:+/$rel}
    if [ -n "$rel" ]; then
        h=$(path_hash "$rel/")
        id=${h:0:24}
        echo "$indent<Directory Id=\"d$id\" Name=\"$(attr "${rel##*/}")\">"
        indent+="  "
        echo "$indent<Component Id=\"k$id\" Guid=\"$(path_guid "$h")\" Win64=\"yes\">"
        echo "$indent  <RemoveFolder Id=\"r$id\" On=\"uninstall\"/>"
        echo "$indent</Component>"
        components+=("k$id")
    fi
    while IFS= read -r name; do
        file=${rel:+$rel/}$name
        [ "$file" = OrvelleEx.exe ] && continue
        h=$(path_hash "$file")
        id=${h:0:24}
        echo "$indent<Component Id=\"c$id\" Guid=\"$(path_guid "$h")\" Win64=\"yes\">"
        echo "$indent  <File Id=\"f$id\" Name=\"$(attr "$name")\" Source=\"\$(var.StagedDir)/$(attr "$file")\" KeyPath=\"yes\"/>"
        echo "$indent</Component>"
        components+=("c$id")
    done < <(entries "$dir" f)
    while IFS= read -r name; do
        emit_folder "${rel:+$rel/}$name" "$indent"
    done < <(entries "$dir" d)
    if [ -n "$rel" ]; then
        echo "${indent:2}</Directory>"
    fi
}

echo '<?xml version="1.0" encoding="utf-8"?>'
echo "<!-- Generated from the staged folder by scripts/wix-files.sh; do not edit. -->"
echo '<Wix xmlns="http://schemas.microsoft.com/wix/2006/wi">'
echo '  <Fragment>'
echo '    <DirectoryRef Id="InstallDir">'
emit_folder "" "      "
echo '    </DirectoryRef>'
echo '    <ComponentGroup Id="StagedFiles">'
for id in "${components[@]}"; do
    echo "      <ComponentRef Id=\"$id\"/>"
done
echo '    </ComponentGroup>'
echo '  </Fragment>'
echo '</Wix>'
