// Component model: objects, persistent objects that assign to each other,
// and components that own other components.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace Platform {

class TObject {
 public:
  virtual ~TObject() = default;
  // The name of the class as the component model reports it ("TGeoMap").
  virtual std::string ClassName() const { return "TObject"; }
};

class TPersistent : public TObject {
 public:
  std::string ClassName() const override { return "TPersistent"; }
  // Copies Source into this object. The base asks Source to assign itself
  // to this object and raises EConvertError when neither side knows how.
  virtual void Assign(const TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
};

enum TComponentStateFlag : uint8_t { csLoading = 1, csDesigning = 2, csDestroying = 4 };
using TComponentState = uint8_t;  // set of TComponentStateFlag

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  std::string ClassName() const override { return "TComponent"; }

  TComponent* Owner() const { return FOwner; }
  int32_t ComponentCount() const { return static_cast<int32_t>(FComponents.size()); }
  TComponent* Components(int32_t i) const { return FComponents.at(static_cast<size_t>(i)); }

  const std::string& Name() const { return FName; }
  virtual void SetName(const std::string& value) { FName = value; }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsDesigning() const { return (FComponentState & csDesigning) != 0; }
  bool IsLoading() const { return (FComponentState & csLoading) != 0; }
  // Hosts (a designer, a streaming reader) set and clear these flags.
  void SetDesigning(bool on);
  void SetLoading(bool on);
  // Called when loading has finished; components finish their set-up here.
  virtual void Loaded() { SetLoading(false); }

  void InsertComponent(TComponent* c);
  void RemoveComponent(TComponent* c);

 private:
  TComponent* FOwner = nullptr;
  std::vector<TComponent*> FComponents;
  std::string FName;
  TComponentState FComponentState = 0;
};

}  // namespace Platform
