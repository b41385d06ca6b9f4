// The result files and the writers that put report data out in network byte order, to the
// manager's connection, to a file, or to both with the same bytes.

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>

#include "engine/SimulatorClass.h"
#include "output/DataPacket.h"
#include "output/WireCodec.h"
#include "platform/TavrinSocket.h"

namespace {

const int kFirstConversionBlock = 100;  // doubles the conversion buffer holds at first

void ReportUnopenedFile(const char* filename) {
  std::cerr << "ERROR: Unable to open output file " << filename << std::endl;
}

// A write that failed part-way (a full device, a file-size limit) leaves a cut line or
// record; the file is cut back to the bytes known whole. A device cannot be cut: nothing
// more can be done for it than the message.
void ReportUnwritableFile(const char* filename, int error, std::streamoff wholeSize) {
  std::cerr << "ERROR: Unable to write result file " << filename << ": " << std::strerror(error)
            << "; it keeps its first " << wholeSize << " bytes, each report in them whole"
            << std::endl;
  struct stat info;
  if (stat(filename, &info) == 0 && S_ISREG(info.st_mode) && info.st_size > wholeSize)
    if (truncate(filename, static_cast<off_t>(wholeSize)) != 0)
      std::cerr << "ERROR: Unable to cut " << filename << " back: " << std::strerror(errno)
                << std::endl;
}

}  // namespace

std::ofstream* SimulatorClass::CreateAsciiFile(char* filename) {
  std::ofstream* file = new std::ofstream(filename, std::ios::out | std::ios::trunc);
  if (!file->is_open()) {
    delete file;
    ReportUnopenedFile(filename);
    return nullptr;
  }
  unsigned int seed = RandomNumberSeed == 0 ? WireCodec::DefaultSeed : RandomNumberSeed;
  *file << "#TAVRIN_SIM_ASCII_FILE," << "TAVRIN_VER=" << WireCodec::VersionText << ","
        << "FILE_VER=" << BinFileVersion << "," << "EXPERIMENTS=" << TheExperimentNumber << ","
        << "SEED=" << seed << "," << "RANDOMGEN=" << to_string(RandomNumberGenerator) << std::endl;
  *file << "#FORMAT: (PV ID Number),(PV Value)" << std::endl;
  if (!file->good()) {
    ReportUnwritableFile(filename, errno, 0);
    delete file;
    return nullptr;
  }
  FileCSVWhole = file->tellp();
  return file;
}

void SimulatorClass::CloseAsciiFile(std::ofstream& file) {
  file << "#META_DATA," << "BATCHES=" << BatchRuns << std::endl;
  bool written = file.good();
  int error = errno;
  file.close();
  if (written && !file.fail()) return;
  ReportUnwritableFile(ASCIIFilename != nullptr ? ASCIIFilename : "(ASCII file)", error,
                       FileCSVWhole);
  ExitStatus = 1;
}

std::string SimulatorClass::CreateBinFileHeader(int fileVersion) {
  return WireCodec::BuildBinFileHeader(fileVersion, TheExperimentNumber, RandomNumberSeed,
                                       to_string(RandomNumberGenerator), BatchRuns);
}

std::ofstream* SimulatorClass::CreateBinFile(char* filename) {
  std::ofstream* file =
      new std::ofstream(filename, std::ios::out | std::ios::trunc | std::ios::binary);
  if (!file->is_open()) {
    delete file;
    ReportUnopenedFile(filename);
    return nullptr;
  }
  std::string header = CreateBinFileHeader(BinFileVersion);
  file->write(header.data(), static_cast<std::streamsize>(header.size()));
  file->flush();
  if (!file->good()) {
    ReportUnwritableFile(filename, errno, 0);
    delete file;
    return nullptr;
  }
  FileBinWhole = file->tellp();
  return file;
}

// Rewritten in place so that "BATCHES=" follows the run without copying the records.
void SimulatorClass::UpdateBinFileHeader(std::ofstream& file) {
  std::string header = CreateBinFileHeader(BinFileVersion);
  file.seekp(0, std::ios::beg);
  file.write(header.data(), static_cast<std::streamsize>(header.size()));
  file.seekp(0, std::ios::end);
  file.flush();
}

void SimulatorClass::CloseBinFile(std::ofstream& file) {
  UpdateBinFileHeader(file);
  bool written = file.good();
  int error = errno;
  file.close();
  if (written && !file.fail()) return;
  ReportUnwritableFile(BinFilename != nullptr ? BinFilename : "(binary file)", error,
                       FileBinWhole);
  ExitStatus = 1;
}

// Called when a write to an open result file failed: the run stops with exit status 1,
// and the file is closed cut back to its whole reports.
void SimulatorClass::ResultFileFailed(std::ofstream*& file, const char* filename,
                                      std::streamoff wholeSize) {
  int error = errno;
  file->clear();
  file->close();
  delete file;
  file = nullptr;
  ReportUnwritableFile(filename, error, wholeSize);
  ExitStatus = 1;
  SimControl = 2;
}

// The value whose bytes, as they lie in memory, are the big-endian image of value.
double SimulatorClass::EndianConvertDouble(double value) {
  char image[8];
  WireCodec::PutDouble(image, value);
  double converted;
  std::memcpy(&converted, image, sizeof(converted));
  return converted;
}

// A failed send stops the run; the file still gets its bytes so its records stay whole.
int SimulatorClass::OutputInt(TavrinSocket* socket, std::ostream* stream, int value) {
  char bytes[4];
  WireCodec::PutInt32(bytes, value);
  int result = 4;
  if (socket != nullptr && socket->Send(bytes, 4) < 1) {
    SimControl = 2;
    result = -1;
  }
  if (stream != nullptr) stream->write(bytes, 4);
  return result;
}

int SimulatorClass::OutputShort(TavrinSocket* socket, std::ostream* stream, short value) {
  char bytes[2];
  WireCodec::PutInt16(bytes, value);
  int result = 2;
  if (socket != nullptr && socket->Send(bytes, 2) < 1) {
    SimControl = 2;
    result = -1;
  }
  if (stream != nullptr) stream->write(bytes, 2);
  return result;
}

int SimulatorClass::OutputByte(TavrinSocket* socket, std::ostream* stream, char value) {
  int result = 1;
  if (socket != nullptr && socket->Send(&value, 1) < 1) {
    SimControl = 2;
    result = -1;
  }
  if (stream != nullptr) stream->write(&value, 1);
  return result;
}

// A row goes out as one block, converted into a buffer kept between calls.
int SimulatorClass::Output(TavrinSocket* socket, std::ostream* stream, double* array,
                           int sizeArray) {
  if (sizeArray <= 0) return 0;
  size_t blockSize = 8 * static_cast<size_t>(sizeArray);
  if (ConversionBuffer.empty()) ConversionBuffer.resize(8 * kFirstConversionBlock);
  if (blockSize > ConversionBuffer.size()) ConversionBuffer.resize(blockSize);
  char* block = &ConversionBuffer[0];
  for (int i = 0; i < sizeArray; i++) WireCodec::PutDouble(block + 8 * i, array[i]);
  int result = static_cast<int>(blockSize);
  if (socket != nullptr && socket->Send(block, result) < 1) {
    SimControl = 2;
    result = -1;
  }
  if (stream != nullptr) stream->write(block, static_cast<std::streamsize>(blockSize));
  return result;
}

// The record is put together in one buffer kept between calls and sent in one piece: a
// send that fails part-way (the manager stopped reading for the send time-out, or went
// away) has cut the stream inside a record, so no later byte may follow it on that link.
// The file gets the same bytes whatever the socket did, so its records stay whole.
bool SimulatorClass::OutputDataBinary(TavrinSocket* socket, std::ostream* stream, DataPacket* dp,
                                      DataPacket* dpsqr) {
  DataPacket* packets[2] = {dp, dpsqr};
  int numSections = 0;
  int numDoubles = 0;
  for (DataPacket* packet : packets) {
    if (packet == nullptr) continue;
    for (int i = 0; i < packet->GetNumPV(); i++) {
      if (packet->GetNumObs(i) <= 0) continue;
      numSections++;
      numDoubles += packet->GetNumObs(i);
    }
  }
  int length = WireCodec::RecordLength(numSections, numDoubles);
  if (RecordBuffer.size() < static_cast<size_t>(length)) RecordBuffer.resize(length);
  char* at = &RecordBuffer[0];
  WireCodec::PutInt32(at, length);
  at[4] = static_cast<char>(MyClientID);
  WireCodec::PutInt16(at + 5, static_cast<short>(TheExperimentNumber));
  WireCodec::PutInt16(at + 7, static_cast<short>(numSections));
  at += WireCodec::RecordFixedSize;
  for (int kind = 1; kind <= 2; kind++) {
    DataPacket* packet = packets[kind - 1];
    if (packet == nullptr) continue;
    for (int i = 0; i < packet->GetNumPV(); i++) {
      int count = packet->GetNumObs(i);
      if (count <= 0) continue;
      WireCodec::PutInt16(at, static_cast<short>(i));
      at[2] = static_cast<char>(kind);
      WireCodec::PutInt32(at + 3, count);
      at += WireCodec::SectionFixedSize;
      const double* values = packet->GetObsArray(i);
      for (int r = 0; r < count; r++, at += 8) WireCodec::PutDouble(at, values[r]);
    }
  }
  bool sent = true;
  if (socket != nullptr && socket->Send(&RecordBuffer[0], length) < 1) {
    SimControl = 2;
    sent = false;
  }
  if (stream != nullptr) {
    stream->write(RecordBuffer.data(), length);
    stream->flush();
  }
  return sent;
}

void SimulatorClass::OutputDataCSV(std::ostream& stream, DataPacket* dp, DataPacket* dpsqr) {
  char value[NumberTextSize];
  char square[NumberTextSize];
  for (int i = 0; i < dp->GetNumPV(); i++) {
    for (int r = 0; r < dp->GetNumObs(i); r++) {
      RemoveTrailingZeros(value, dp->GetObsArray(i)[r]);
      stream << i << "," << value;
      if (dpsqr != nullptr) {
        RemoveTrailingZeros(square, dpsqr->GetObsArray(i)[r]);
        stream << "," << square;
      }
      stream << "\n";
    }
  }
  stream.flush();
}

// Ten fixed decimals, then trailing zeros dropped, keeping the digit after the point.
void SimulatorClass::RemoveTrailingZeros(char* str, double d) {
  std::snprintf(str, NumberTextSize, "%.10lf", d);
  int last = static_cast<int>(std::strlen(str)) - 1;
  while (last > 0 && str[last] == '0' && str[last - 1] != '.') str[last--] = '\0';
}
