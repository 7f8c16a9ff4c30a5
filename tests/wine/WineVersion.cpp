// Test support under Wine: the Windows version Wine reports to one program.
#include "WineVersion.h"

#include <vector>

WineVersionFor::WineVersionFor(const std::string& fileName, const std::string& version)
    : m_key("Software\\Wine\\AppDefaults\\" + fileName)
{
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (::RegCreateKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                          nullptr, &key, &disposition) != ERROR_SUCCESS)
        return;
    m_keyExisted = disposition == REG_OPENED_EXISTING_KEY;
    DWORD type = 0, size = 0;
    if (::RegQueryValueExA(key, "Version", nullptr, &type, nullptr, &size) == ERROR_SUCCESS &&
        type == REG_SZ) {
        std::vector<char> value(size + 1, '\0');
        if (::RegQueryValueExA(key, "Version", nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                               &size) == ERROR_SUCCESS) {
            m_hadValue = true;
            m_previous = value.data();
        }
    }
    m_set = ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version.c_str()),
                             static_cast<DWORD>(version.size() + 1)) == ERROR_SUCCESS;
    ::RegCloseKey(key);
}

WineVersionFor::~WineVersionFor()
{
    if (!m_set)
        return;
    if (!m_keyExisted) {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, m_key.c_str());
        return;
    }
    HKEY key = nullptr;
    if (::RegOpenKeyExA(HKEY_CURRENT_USER, m_key.c_str(), 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
        return;
    if (m_hadValue)
        ::RegSetValueExA(key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(m_previous.c_str()),
                         static_cast<DWORD>(m_previous.size() + 1));
    else
        ::RegDeleteValueA(key, "Version");
    ::RegCloseKey(key);
}

bool Is32BitProgram(const std::string& path)
{
    DWORD kind = 0;
    return ::GetBinaryTypeA(path.c_str(), &kind) && kind == SCS_32BIT_BINARY;
}
