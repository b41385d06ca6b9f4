#ifndef TAVRIN_GEN_STUDYEMITTER_H
#define TAVRIN_GEN_STUDYEMITTER_H

#include "GeneratedFiles.h"
#include "Model.h"

// Emits the study (Study/<M>_STUDY/<M>_STUDYSetStudy.h and .cpp): the global variables'
// definitions, one value table per global with one entry per experiment, the study class
// and GenerateStudy()/DestructStudy().
void EmitStudy(const Model& model, GeneratedFiles& files);

// Emits <model>.study.json, the description of the model for other tools: its experiments
// with the value of every global, and its reward variables with their index in the result
// files, kind and window as written in the model file.
void EmitStudyDescription(const Model& model, GeneratedFiles& files);

#endif
