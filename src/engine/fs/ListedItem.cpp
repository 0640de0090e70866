#include "engine/fs/ListedItem.h"

namespace tidvale {

bool ListedStamp::matches(const struct stat& st) const
{
    if (identity == FileIdentity{} || !(FileIdentity::of(st) == identity)
        || static_cast<mode_t>(st.st_mode & S_IFMT) != type)
        return false;
    const FileStamp now = FileStamp::of(st);
    if (type == S_IFDIR)
        return now.mtimeSec == stamp.mtimeSec && now.mtimeNsec == stamp.mtimeNsec;
    return now == stamp;
}

bool readListedStamp(const std::string& path, ListedStamp& out)
{
    struct stat st { };
    if (::lstat(path.c_str(), &st) != 0)
        return false;
    out = ListedStamp::of(st);
    return true;
}

bool isUnchangedSinceListed(const ListedItem& item)
{
    struct stat st { };
    return ::lstat(item.path.c_str(), &st) == 0 && item.listed.matches(st);
}

} // namespace tidvale
