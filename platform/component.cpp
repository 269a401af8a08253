#include "platform/component.h"

#include <algorithm>

#include "platform/errors.h"

namespace Platform {

void TPersistent::Assign(const TPersistent* Source) {
  if (Source != nullptr) {
    Source->AssignTo(this);
    return;
  }
  throw EConvertError("Cannot assign a nil to a " + ClassName());
}

void TPersistent::AssignTo(TPersistent* Dest) const {
  throw EConvertError("Cannot assign a " + ClassName() + " to a " + Dest->ClassName());
}

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner != nullptr) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState |= csDestroying;
  // Owned components are freed last-in first-out; each leaves the list itself.
  while (!FComponents.empty()) delete FComponents.back();
  if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

void TComponent::SetDesigning(bool on) {
  FComponentState = on ? (FComponentState | csDesigning) : (FComponentState & ~csDesigning);
}

void TComponent::SetLoading(bool on) {
  FComponentState = on ? (FComponentState | csLoading) : (FComponentState & ~csLoading);
}

void TComponent::InsertComponent(TComponent* c) {
  if (c->FOwner != nullptr) c->FOwner->RemoveComponent(c);
  FComponents.push_back(c);
  c->FOwner = this;
}

void TComponent::RemoveComponent(TComponent* c) {
  auto it = std::find(FComponents.begin(), FComponents.end(), c);
  if (it != FComponents.end()) FComponents.erase(it);
  c->FOwner = nullptr;
}

}  // namespace Platform
