#pragma once
// Registration of the product's property objects for COM. The objects are
// served by the sibling module ostrel.arx in this module's folder; this
// module writes, removes and lists the registry entries of its type
// library, classes and interfaces. The three functions are exported for the
// product's installation and maintenance tools.
#include <string>
#include <vector>

#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/win/guid.h"

// Writes under HKEY_CLASSES_ROOT, as default REG_SZ values:
//   TypeLib\{lib}\1.1            "Vantorel 1.0 Type Library"
//   TypeLib\{lib}\1.1\0\win32    server path
//   TypeLib\{lib}\1.1\9\win32    server path
//   CLSID\{class}                "<name> Class", with \InProcServer32 (server
//                                path) and \Typelib ({lib})
//   Interface\{iid}              "<name> Interface", with \TypeLib ({lib}) and
//                                \ProxyStubClsid32 (the automation marshaller)
// The server path is the module's folder + "ostrel.arx". Without that file
// nothing is written and the result is eInvalidInput. A failed write does
// not stop the others; any failed write or GUID conversion gives
// eInvalidInput (the keys already written stay), else eOk.
__attribute__((visibility("default"))) Acad::ErrorStatus SSregisterOpmCLSIDs();

// Removes the key trees TypeLib\{lib}, CLSID\{class} for every class and
// Interface\{iid} for every interface, in that order. A tree whose parent
// key does not exist counts as removed; a parent that cannot be opened for
// another reason is a failure (eInvalidInput), and the others are still
// tried. eOk when nothing failed.
__attribute__((visibility("default"))) Acad::ErrorStatus SScleanupComRegistry();

// Prints one line per class on the command line,
//   "\nconst cCLSID CLSID_<name> = {0x<g1>,0x<g2>,0x<g3>,{0x<b1>,...,0x<b8>}};"
// and writes RegistryIDs.dat into the module's folder (registryIdLines()).
// Always eOk; a file that cannot be written is reported on the command line.
__attribute__((visibility("default"))) Acad::ErrorStatus SSprintCLSIDs();

namespace krv::frame {

// One row of the component table.
struct ComComponent {
  const wchar_t* name;
  GUID id;
};

// The fixed component table, in registration order.
const GUID& comTypeLibrary();
const std::vector<ComComponent>& comClasses();
const std::vector<ComComponent>& comInterfaces();

// Path of the server module the registry entries point at.
constexpr const wchar_t* kComServerFileName = L"ostrel.arx";
// Name of the identifier list written beside the module.
constexpr const wchar_t* kRegistryIdsFileName = L"RegistryIDs.dat";

// The braced text of a GUID through StringFromCLSID; false when the
// conversion fails.
bool comGuidText(const GUID& guid, std::wstring& text);

// The C initializer of a GUID text such as "{2CE559DB-0008-...}":
// "{0x2CE559DB,0x0008,0x4AA7,{0x8E,0x1D,...}}". Surrounding braces are
// optional. Empty when the text does not split at '-' into five groups with
// a fourth group of at least four and a fifth of at least twelve characters.
std::wstring guidInitializerText(const std::wstring& guidText);

// The lines of RegistryIDs.dat: "TypeLib_=<lib>", then "Class_<name>=<clsid>"
// per class and "Interface_<name>=<iid>" per interface, in table order.
Krv_StringArray registryIdLines();

}  // namespace krv::frame
