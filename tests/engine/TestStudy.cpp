#include "TestStudy.h"

#include "study/BaseStudyClass.h"

namespace {

MeasuredModelFactory currentFactory = nullptr;
RewardModelFactory currentRewardFactory = nullptr;

class TestStudy : public BaseStudyClass {
 public:
  TestStudy() { NumExps = 1; }
  ~TestStudy() override { delete ThePVModel; }
  PVModel* GetPVModel(bool expandTimeArrays) override {
    delete ThePVModel;
    if (currentRewardFactory != nullptr)
      ThePVModel = currentRewardFactory(currentFactory(), expandTimeArrays);
    else
      ThePVModel = new EmptyPVModel(currentFactory(), expandTimeArrays);
    return ThePVModel;
  }
  void SetGVs(int) override {}
};

}  // namespace

void UseMeasuredModel(MeasuredModelFactory factory) { currentFactory = factory; }

void UseRewardModel(RewardModelFactory factory) { currentRewardFactory = factory; }

EmptyPVModel::EmptyPVModel(BaseModelClass* measured, bool expandTimeArrays) {
  TheModel = measured;
  DefineName("EmptyPVModel");
  CreatePVList(0, expandTimeArrays);
  Initialize();
}

PerformanceVariableNode* EmptyPVModel::createPVNode(int, int) { return nullptr; }

BaseStudyClass* GenerateStudy() {
  if (GlobalStudyPtr == nullptr) GlobalStudyPtr = new TestStudy();
  return GlobalStudyPtr;
}

void DestructStudy() {
  delete GlobalStudyPtr;
  GlobalStudyPtr = nullptr;
}
