#include "win32/map_tiles.h"

#include <condition_variable>
#include <cstring>
#include <deque>
#include <mutex>
#include <thread>

#include "map/tile_fetch.h"
#include "platform/file_system.h"
#include "platform/http_session_win32.h"
#include "platform/picture_decoder_win32.h"
#include "platform/program_seams.h"
#include "startup/version.h"

namespace velorin {
namespace {

std::int64_t NowMilliseconds() {
  return std::chrono::duration_cast<std::chrono::milliseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

std::int64_t NowSeconds() {
  return std::chrono::duration_cast<std::chrono::seconds>(
             std::chrono::system_clock::now().time_since_epoch())
      .count();
}

TileCodec SystemCodec() {
  TileCodec codec;
  codec.sizeOf = [](std::string_view body) -> std::optional<TileSize> {
    const std::optional<PictureSize> size = PictureSizeOf(body);
    if (!size) return std::nullopt;
    return TileSize{size->width, size->height};
  };
  codec.decode = [](std::string_view body, TileSize size) -> std::optional<TilePicture> {
    std::optional<Picture> picture = DecodePicture(body, size.width, size.height);
    if (!picture) return std::nullopt;
    return TilePicture{picture->width, picture->height, std::move(picture->pixels),
                       picture->opaque};
  };
  return codec;
}

std::shared_ptr<TileBitmap> BitmapOf(const TilePicture& picture) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = picture.width;
  info.bmiHeader.biHeight = -picture.height;  // rows top down
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (bitmap == nullptr) return nullptr;
  std::memcpy(bits, picture.pixels.data(), picture.pixels.size() * sizeof(std::uint32_t));
  return std::make_shared<TileBitmap>(bitmap, picture.width, picture.height, picture.opaque);
}

}  // namespace

/// What the loader shares with its two threads, kept while any of them
/// runs: a request may outlast the loader until its next piece of body.
struct Win32TileLoader::Workers {
  struct Job {
    TileId tile;
    int drawnSide = 256;
    std::uint64_t request = 0;
    std::shared_ptr<HttpCancel> cancel;
  };
  struct Done {
    TileId tile;
    std::uint64_t request = 0;
    TileFetched fetched;
  };

  Workers(const TileServer& server, const std::string& cacheFolder, HWND window)
      : http(TileUserAgent(kVersionNumber, server.contact)), window(window) {
    if (!cacheFolder.empty()) cache = std::make_unique<TileDiskCache>(files, cacheFolder);
    fetcher = std::make_unique<TileFetcher>(
        server,
        [this](const HttpRequest& request, const HttpCancel& cancel) {
          return http.Get(request, cancel);
        },
        SystemCodec(), cache.get(), NowSeconds);
  }

  void Run() {
    for (;;) {
      Job job;
      {
        std::unique_lock<std::mutex> lock(mutex);
        wake.wait(lock, [this] { return stopping || !jobs.empty(); });
        if (stopping) return;
        job = std::move(jobs.front());
        jobs.pop_front();
        --idle;
      }
      TileFetched fetched = fetcher->Fetch(job.tile, job.drawnSide, *job.cancel);
      {
        const std::lock_guard<std::mutex> lock(mutex);
        ++idle;
        cancels.erase(job.request);
        if (stopping) return;
        done.push_back({job.tile, job.request, std::move(fetched)});
      }
      PostMessageW(window, kTilesMessage, 0, 0);
    }
  }

  void Push(Job job) {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      cancels[job.request] = job.cancel;
      jobs.push_back(std::move(job));
    }
    wake.notify_one();
  }

  void Cancel(std::uint64_t request) {
    const std::lock_guard<std::mutex> lock(mutex);
    const auto found = cancels.find(request);
    if (found != cancels.end()) found->second->Cancel();
    cancels.erase(request);
    std::erase_if(jobs, [request](const Job& job) { return job.request == request; });
  }

  /// Threads free for another request.
  int FreeSlots() {
    const std::lock_guard<std::mutex> lock(mutex);
    return idle - static_cast<int>(jobs.size());
  }

  std::vector<Done> TakeDone() {
    const std::lock_guard<std::mutex> lock(mutex);
    return std::exchange(done, {});
  }

  void Stop() {
    {
      const std::lock_guard<std::mutex> lock(mutex);
      stopping = true;
      for (const auto& [request, cancel] : cancels) cancel->Cancel();
      jobs.clear();
    }
    wake.notify_all();
  }

  HttpSession http;
  /// The program's own disk: the threads may outlive the window that
  /// started them, never the program.
  FileSystem& files = ProgramFileSystem();
  std::unique_ptr<TileDiskCache> cache;
  std::unique_ptr<TileFetcher> fetcher;
  HWND window;
  std::mutex mutex;
  std::condition_variable wake;
  std::deque<Job> jobs;
  std::vector<Done> done;
  std::map<std::uint64_t, std::shared_ptr<HttpCancel>> cancels;
  int idle = kMaxTileRequests;
  bool stopping = false;
};

Win32TileLoader::Win32TileLoader(TileServer server, const std::string& cacheFolder, HWND window)
    : server_(std::move(server)),
      window_(window),
      memory_(static_cast<std::size_t>(kMostTileMemory)) {
  if (!server_.Enabled()) return;
  workers_ = std::make_shared<Workers>(server_, cacheFolder, window);
  for (int n = 0; n < kMaxTileRequests; ++n) {
    // Each thread keeps what it shares: it may end after the loader.
    std::thread([workers = workers_] { workers->Run(); }).detach();
  }
}

Win32TileLoader::~Win32TileLoader() {
  if (workers_) workers_->Stop();
  if (window_ != nullptr) KillTimer(window_, kTileTimer);
}

void Win32TileLoader::Want(const std::vector<TileId>& tiles) {
  if (!workers_) return;
  for (const TileId& tile : queue_.Want(tiles)) {
    const auto open = open_.find(TileNumber(tile));
    if (open == open_.end()) continue;
    workers_->Cancel(open->second);
    open_.erase(open);
  }
  StartRequests();
}

const TileBitmap* Win32TileLoader::Image(const TileId& tile) {
  const std::shared_ptr<TileBitmap>* held = memory_.Find(TileNumber(tile));
  return held != nullptr ? held->get() : nullptr;
}

void Win32TileLoader::StartRequests() {
  const std::int64_t now = NowMilliseconds();
  const TileStart next = queue_.Next(
      now, [this](const TileId& tile) { return memory_.Holds(TileNumber(tile)); },
      workers_->FreeSlots());
  for (const TileId& tile : next.start) {
    open_[TileNumber(tile)] = ++lastRequest_;
    workers_->Push({tile, drawnSide_, lastRequest_, std::make_shared<HttpCancel>()});
  }
  // Tiles that failed are asked again when their time comes, even if the
  // view does not move.
  if (next.wakeAt != 0)
    SetTimer(window_, kTileTimer, static_cast<UINT>(std::max<std::int64_t>(1, next.wakeAt - now)),
             nullptr);
}

bool Win32TileLoader::TakeFinished() {
  if (!workers_) return false;
  bool changed = false;
  for (Workers::Done& done : workers_->TakeDone()) {
    const std::uint64_t key = TileNumber(done.tile);
    const auto open = open_.find(key);
    // A request let go, or one the tile was asked again after.
    if (open == open_.end() || open->second != done.request || done.fetched.cancelled) continue;
    open_.erase(open);
    changed = true;
    std::shared_ptr<TileBitmap> bitmap =
        done.fetched.picture ? BitmapOf(*done.fetched.picture) : nullptr;
    if (!bitmap) {
      queue_.Failed(done.tile, done.fetched.picture ? TileFailure::kNotAnImage : done.fetched.why,
                    NowMilliseconds());
      continue;
    }
    const std::size_t bytes =
        static_cast<std::size_t>(bitmap->width()) * static_cast<std::size_t>(bitmap->height()) * 4;
    memory_.Insert(key, std::move(bitmap), bytes);
    queue_.Arrived(done.tile);
  }
  StartRequests();
  return changed;
}

void Win32TileLoader::Wake() {
  KillTimer(window_, kTileTimer);
  if (workers_) StartRequests();
}

}  // namespace velorin
