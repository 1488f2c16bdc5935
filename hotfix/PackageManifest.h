// What a servicing package's manifest ("servicing\Packages\<name>.mum" in the
// Windows folder) says about the package: the update it belongs to and whether
// it is permanent. Both are attributes of the manifest's <package> element:
//   <assembly xmlns="urn:schemas-microsoft-com:asm.v3" ...>
//     <assemblyIdentity name="Package_for_RollupFix" .../>
//     <package identifier="KB5031356" releaseType="Update" permanence="permanent">
//       <update name="...">...</update>
//     </package>
//   </assembly>
#pragma once

#include <cstddef>
#include <string>

namespace WindowsHotfix {

// What is read of a manifest: its <package> start tag comes right after the
// assembly's identity, before the children a cumulative update lists by the
// thousand (20 MiB and more); a manifest whose head holds no <package> tag stays unclear.
constexpr size_t kManifestHeadBytes = 64 * 1024;

struct PackageManifest {
    bool readable = false;    // false: missing, unreadable or malformed (logged)
    std::wstring identifier;  // "KB5031356"; empty when the <package> has none
    bool permanent = false;
};

// Reads the manifest of one package key's name; never writes. `log`: a
// manifest that cannot be read is logged.
PackageManifest ReadPackageManifest(const std::wstring& windowsFolder,
                                    const std::wstring& packageName, bool log = true);

}  // namespace WindowsHotfix
