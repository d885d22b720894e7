#include "platform/Platform.h"

namespace plat {
namespace {

Backend g_absent;
Backend* g_installed = nullptr;

}  // namespace

Backend& Installed() {
    return g_installed ? *g_installed : g_absent;
}

bool HasBackend() {
    return g_installed != nullptr;
}

BackendScope::BackendScope(Backend& backend) : m_previous(g_installed) {
    g_installed = &backend;
}

BackendScope::~BackendScope() {
    g_installed = m_previous;
}

}  // namespace plat
