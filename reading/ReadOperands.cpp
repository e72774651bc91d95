#include "reading/ReadOperands.h"

#include "reading/DirectoryWalk.h"
#include "reading/ReadingPool.h"

namespace {

class PoolFeed final : public FileVisitor {
public:
    PoolFeed(ReadingPool& pool, const FolderProgress& folderListed)
        : m_pool(pool), m_folderListed(folderListed) {}

    bool Visit(FoundFile&& found) override { return m_pool.Submit(std::move(found)); }
    void FolderListed(const std::string& path, size_t files) override {
        if (m_folderListed)
            m_folderListed(path, files);
    }
    bool Stopped() const override { return m_pool.Cancelled(); }

private:
    ReadingPool& m_pool;
    const FolderProgress& m_folderListed;
};

} // namespace

bool ReadOperands(ReadingPool& pool, const std::vector<std::string>& operands, bool recursive,
                  const FolderProgress& folderListed) {
    PoolFeed feed(pool, folderListed);
    for (const std::string& operand : operands)
        if (!WalkOperand(operand, recursive, feed))
            break;
    return pool.Finish();
}
