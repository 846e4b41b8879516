// One problem found by a scan: what is broken, where, why, and what a repair needs.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/registry.h"

// Kinds (pType) and statuses (pSTATUS) of a problem.
constexpr long kTypeRegistry = 0;
constexpr long kTypeShortcut = 1;
constexpr long kTypeFile = 2;
constexpr long kTypeRepaired = -1;
constexpr long kStatusBrokenLink = 0;
constexpr long kStatusUnusedFile = 1;
constexpr long kStatusWrongUninstall = 2;
constexpr long kStatusWrongHelp = 3;

class clsItem {
  public:
    long pSTATUS = kStatusBrokenLink;
    long pCureMethod = 0;  // 0: re-point to the found file, 1: to its folder
    std::string pDescription;
    std::string pCureMissingfile;
    std::string pCureFilename;
    platform::RootKey pCureKeyRoot = 0;
    std::string pCureKeyName;
    std::string pCureKeyValueName;

    long pType() const { return type_; }
    void pType(long val);
    const std::string& pName() const { return name_; }
    void pName(const std::string& val);
    void pKey(const std::string& val);
    // The identity: the row key in the problem list. Empty until a kind, name or key is set.
    const std::string& UID() const { return uid_; }
    std::string pTypeName() const;
    std::string pStatusName() const;

  private:
    void UpdateUID();

    long type_ = kTypeRegistry;
    std::string name_;
    std::string key_;
    std::string uid_;
};

// The problems of the current scan in scan order, 1-based, without keys. Records are shared:
// a change through one reference is seen through all.
class ProblemCollection {
  public:
    int Count() const { return static_cast<int>(items_.size()); }
    const std::shared_ptr<clsItem>& Item(int position) const { return items_.at(position - 1); }
    void Add(std::shared_ptr<clsItem> item) { items_.push_back(std::move(item)); }
    void Remove(int position) { items_.erase(items_.begin() + (position - 1)); }
    auto begin() const { return items_.begin(); }
    auto end() const { return items_.end(); }

  private:
    std::vector<std::shared_ptr<clsItem>> items_;
};

extern ProblemCollection colProblems;

// Appends the record at the end of colProblems.
void AddItem(const std::shared_ptr<clsItem>& item);
