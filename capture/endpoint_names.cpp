#include "capture/endpoint_names.h"

#include <atomic>
#include <new>

#include "capture/com_factory.h"
#include "capture/com_ref.h"

namespace zembrit {
namespace {

constexpr DWORD kListingBoundMs = 1000;
constexpr PROPERTYKEY kFriendlyName = {{0xa45c254e, 0xdf1c, 0x4efd, {0x80, 0x20, 0x67, 0xd1, 0x46, 0xa8, 0x50, 0xe0}},
                                       14};

// Shared by the caller and the listing thread; the last to let go frees it,
// so a caller that stops waiting leaves nothing the thread still writes.
struct Listing {
    bool render;
    std::vector<std::string> names;
    std::atomic<int> owners{2};
};

void letGo(Listing* listing) {
    if (--listing->owners == 0) delete listing;
}

std::string narrow(const std::wstring& text) {
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrowed(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, narrowed.data(), length, nullptr, nullptr);
    narrowed.pop_back();
    return narrowed;
}

void listInto(Listing& listing) {
    ComRef<IMMDeviceEnumerator> enumerator;
    ComRef<IMMDeviceCollection> endpoints;
    UINT count = 0;
    if (FAILED(systemComFactory().createEnumerator(enumerator.put())) ||
        FAILED(enumerator->EnumAudioEndpoints(listing.render ? eRender : eCapture, DEVICE_STATE_ACTIVE,
                                              endpoints.put())) ||
        FAILED(endpoints->GetCount(&count)))
        return;
    for (UINT i = 0; i < count; ++i) {
        ComRef<IMMDevice> endpoint;
        if (FAILED(endpoints->Item(i, endpoint.put()))) continue;
        const std::string name = narrow(friendlyNameOf(*endpoint.get()));
        if (!name.empty()) listing.names.push_back(name);
    }
}

DWORD WINAPI listingThread(void* parameter) {
    auto* listing = static_cast<Listing*>(parameter);
    if (SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) {
        listInto(*listing);
        CoUninitialize();
    }
    letGo(listing);
    return 0;
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

std::vector<std::string> activeEndpointNames(bool render) {
    auto* listing = new (std::nothrow) Listing{render, {}};
    if (!listing) return {};
    HANDLE thread = CreateThread(nullptr, 0, listingThread, listing, 0, nullptr);
    if (!thread) {
        delete listing;
        return {};
    }
    std::vector<std::string> names;
    if (WaitForSingleObject(thread, kListingBoundMs) == WAIT_OBJECT_0) names = listing->names;
    CloseHandle(thread);
    letGo(listing);
    return names;
}

}  // namespace zembrit
