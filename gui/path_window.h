#pragma once
// What path selection needs of the window that holds the two paths: the
// window rules that keep them. The main window implements it.
namespace velorin {

class MainPresenter;

class PathWindow {
 public:
  virtual MainPresenter& Presenter() = 0;

 protected:
  ~PathWindow() = default;
};

}  // namespace velorin
