#pragma once
// A settings store in memory that remembers the order of its writes.

#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "base/text.h"
#include "settings/settings.h"

class MemorySettings : public CSettings {
public:
    std::map<std::string, int32_t> ints;
    std::map<std::string, std::string> blocks;
    std::vector<std::string> written;

    bool getInt(const CText& name, int32_t* out) override {
        const auto found = ints.find(name.c_str());
        if (found == ints.end()) {
            return false;
        }
        *out = found->second;
        return true;
    }
    bool getDouble(const CText& name, double* out) override {
        int32_t size = sizeof *out;
        return getBinary(name, out, &size) && size == int32_t(sizeof *out);
    }
    bool getString(const CText& name, CText* out) override {
        const auto found = blocks.find(name.c_str());
        if (found == blocks.end()) {
            return false;
        }
        *out = found->second.c_str();
        return true;
    }
    bool getBinary(const CText& name, void* data, int32_t* size) override {
        const auto found = blocks.find(name.c_str());
        if (found == blocks.end() || int32_t(found->second.size()) > *size) {
            return false;
        }
        std::memcpy(data, found->second.data(), found->second.size());
        *size = int32_t(found->second.size());
        return true;
    }
    void setInt(const CText& name, int32_t value) override {
        ints[name.c_str()] = value;
        written.emplace_back(name.c_str());
    }
    void setDouble(const CText& name, double value) override { setBinary(name, &value, 8); }
    void setString(const CText& name, const CText& value) override {
        setBinary(name, value.data(), int32_t(value.length()));
    }
    void setBinary(const CText& name, const void* data, int32_t size) override {
        blocks[name.c_str()] = std::string(static_cast<const char*>(data), size_t(size));
        written.emplace_back(name.c_str());
    }
};
