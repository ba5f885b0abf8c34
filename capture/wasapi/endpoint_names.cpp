#include "capture/wasapi/endpoint_names.h"

#include <mutex>

#include "capture/floor/slim_lock.h"
#include "capture/known_endpoints.h"
#include "capture/wasapi/com_ref.h"

namespace zembrit {
namespace {

constexpr PROPERTYKEY kFriendlyName = {{0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}},
                                       14};

// Written by the capture threads, read by the menu; never held across a
// call into the system.
SlimMutex knownLock;
std::vector<KnownEndpoint> knownRender, knownCapture;

std::vector<KnownEndpoint>& listOf(bool render) { return render ? knownRender : knownCapture; }

bool listInto(IMMDeviceEnumerator& enumerator, bool render, std::vector<KnownEndpoint>& found) {
    ComRef<IMMDeviceCollection> endpoints;
    UINT count = 0;
    if (FAILED(enumerator.EnumAudioEndpoints(render ? eRender : eCapture, DEVICE_STATE_ACTIVE, endpoints.put())) ||
        FAILED(endpoints->GetCount(&count)))
        return false;
    for (UINT i = 0; i < count; ++i) {
        ComRef<IMMDevice> endpoint;
        if (FAILED(endpoints->Item(i, endpoint.put()))) continue;
        KnownEndpoint known{idOf(*endpoint.get()), friendlyNameOf(*endpoint.get())};
        if (!known.id.empty() && !known.name.empty()) found.push_back(std::move(known));
    }
    return true;
}

}  // namespace

std::wstring friendlyNameOf(IMMDevice& endpoint) {
    ComRef<IPropertyStore> store;
    if (FAILED(endpoint.OpenPropertyStore(STGM_READ, store.put()))) return {};
    PROPVARIANT value;
    PropVariantInit(&value);
    std::wstring name;
    if (SUCCEEDED(store->GetValue(kFriendlyName, &value)) && value.vt == VT_LPWSTR && value.pwszVal)
        name = value.pwszVal;
    PropVariantClear(&value);
    return name;
}

std::wstring idOf(IMMDevice& endpoint) {
    LPWSTR id = nullptr;
    if (FAILED(endpoint.GetId(&id)) || !id) return {};
    std::wstring copy = id;
    CoTaskMemFree(id);
    return copy;
}

void refreshKnownEndpoints(IMMDeviceEnumerator& enumerator, bool render) {
    std::vector<KnownEndpoint> found;
    if (!listInto(enumerator, render, found)) return;
    std::lock_guard<SlimMutex> guard(knownLock);
    listOf(render).swap(found);
}

std::vector<KnownEndpoint> knownEndpoints(bool render) {
    std::lock_guard<SlimMutex> guard(knownLock);
    return listOf(render);
}

}  // namespace zembrit
