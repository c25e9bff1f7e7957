// Placeholder until the WordprocessingML reader lands: no document can be read yet.
#include "wordhost/paragraphs/ParagraphModel.h"

#include <stdexcept>

namespace wordhost {

struct ParagraphModel::Impl {
    std::vector<Indents> indents;
};

ParagraphModel::ParagraphModel(const std::string&) : impl_(nullptr) {
    throw std::runtime_error("The paragraph model is not available.");
}
ParagraphModel::~ParagraphModel() { delete impl_; }
ParagraphModel::ParagraphModel(ParagraphModel&& other) noexcept : impl_(other.impl_) { other.impl_ = nullptr; }
ParagraphModel& ParagraphModel::operator=(ParagraphModel&& other) noexcept {
    std::swap(impl_, other.impl_);
    return *this;
}
const std::vector<Indents>& ParagraphModel::indents() const { return impl_->indents; }
void ParagraphModel::setLeftIndent(std::size_t, double) { throw std::out_of_range("paragraph"); }
void ParagraphModel::setRightIndent(std::size_t, double) { throw std::out_of_range("paragraph"); }
bool ParagraphModel::modified() const { return false; }
void ParagraphModel::saveAs(const std::string&) const { throw std::runtime_error("not available"); }

}  // namespace wordhost
